// Brings the program up and down: the data module first, then the four windows; at the end the
// windows go in reverse order and the data module last, whose destruction saves the directory.
#pragma once

#include <QObject>

#include <memory>
#include <string>

class TDM1;
class TFFMAIN;
class TFMFSCAD;
class TFFQRSTSCAD;
class TFFINFO;

class Shell : public QObject {
    Q_OBJECT
public:
    explicit Shell(const std::string &executablePath);
    ~Shell() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Declared in creation order: members are destroyed in reverse.
    std::unique_ptr<TDM1> dm1_;
    std::unique_ptr<TFFMAIN> main_;
    std::unique_ptr<TFMFSCAD> editor_;
    std::unique_ptr<TFFQRSTSCAD> report_;
    std::unique_ptr<TFFINFO> info_;
};
