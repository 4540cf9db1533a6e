// The program's windows over a real data module in a fresh program folder, with the message
// boxes and the desktop replaced by recorders.
#pragma once

#include "kit/dbctrls/db_edit.h"
#include "kit/forms/desktop_services.h"
#include "kit/forms/message_box.h"
#include "store/UDM1.h"
#include "store/app_dir.h"
#include "tests/store/temp_dir.h"
#include "ui/editor/UFMFSCAD.h"
#include "ui/info/UFMINFO.h"
#include "ui/main/UFFMAIN.h"

#include <QStringList>
#include <QTimer>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

struct RecordingDesktop : kit::DesktopServices {
    QStringList opened;
    void openDocument(QWidget *, const QString &file, const QString &parameters,
                      const QString &folder, int showMode) override
    {
        opened << QStringLiteral("%1|%2|%3|%4").arg(file, parameters, folder).arg(showMode);
    }
    void openUrl(const QString &address) override { opened << address; }
};

// A data file with the header line and one line per entry; missing values are empty.
inline std::string DataFile(std::initializer_list<std::vector<std::string>> entries)
{
    std::string bytes = "ditta\treparto\tnome\tcellulare1\tcellulare2\ttelefono1\ttelefono2\t"
                        "fax1\tfax2\tlocalita\tprovincia\te_mail\tam_daore\tam_aore\t"
                        "pm_daore\tpm_aore\tNumScad\r\n";
    for (const auto &entry : entries) {
        for (int k = 0; k < 17; ++k) {
            if (k)
                bytes += '\t';
            if (k < static_cast<int>(entry.size()))
                bytes += entry[static_cast<std::size_t>(k)];
        }
        bytes += "\r\n";
    }
    return bytes;
}

class UiFixture {
public:
    explicit UiFixture(const std::string &dataFile = {})
    {
        if (!dataFile.empty())
            dir.write(DataFileName, dataFile);
        dm_ = std::make_unique<TDM1>(dir.path("Velistra"), [](const std::string &) {});
        DM1 = dm_.get();
        main_ = std::make_unique<TFFMAIN>();
        FFMAIN = main_.get();
        editor_ = std::make_unique<TFMFSCAD>();
        FMFSCAD = editor_.get();
        info_ = std::make_unique<TFFINFO>();
        FFINFO = info_.get();
        kit::setDesktopServices(&desktop);
        kit::setMessageBoxHandler([this](kit::MessageKind, const QString &text) {
            messages << text;
            return answer;
        });
    }
    ~UiFixture()
    {
        kit::setMessageBoxHandler({});
        kit::setDesktopServices(nullptr);
        info_.reset();
        FFINFO = nullptr;
        editor_.reset();
        FMFSCAD = nullptr;
        main_.reset();
        FFMAIN = nullptr;
        dm_.reset();
        DM1 = nullptr;
    }
    UiFixture(const UiFixture &) = delete;
    UiFixture &operator=(const UiFixture &) = delete;

    kit::MemTable &table() { return DM1->ScadData; }
    std::string value(std::size_t row, const char *field)
    {
        return std::string(table().value(row, table().findField(field)));
    }
    std::string current(const char *field)
    {
        return table().currentValue(table().findField(field));
    }

    // Runs `steps` once the next modal window is open (they must end it).
    static void whenModal(std::function<void()> steps) { QTimer::singleShot(0, std::move(steps)); }

    TempDir dir;
    RecordingDesktop desktop;
    QStringList messages;
    bool answer = true;

private:
    std::unique_ptr<TDM1> dm_;
    std::unique_ptr<TFFMAIN> main_;
    std::unique_ptr<TFMFSCAD> editor_;
    std::unique_ptr<TFFINFO> info_;
};
