// The filter builder dialog: the builder over a copy of the grid's filter, with buttons to save
// the filter to a filter file and to open one, and OK, Cancel and Apply. Its caption names the
// current filter file ("untitled.flt" until one is saved or opened).
#pragma once

#include "kit/grid/filter_criteria.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;

namespace kit {

class FilterBuilder;

class FilterBuilderDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for a file name: (parent, title, file-type filter in Qt's form, suggested path);
    // empty when the user cancels. Tests put their own in place of the file dialogs.
    using FileDialog =
        std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;

    explicit FilterBuilderDialog(std::vector<FilterColumn> columns, QWidget *parent = nullptr);

    void setFilter(const FilterNode &root);
    FilterNode filter() const;
    FilterBuilder *builder() const noexcept { return builder_; }

    QString fileName() const { return fileName_; }  // without the folder
    // Writes the builder's filter (kit::FileError on failure) and names the caption after it.
    void saveToFile(const QString &path);
    // Reads a filter into the builder; on any error (FilterFileError, kit::FileError) it throws
    // and changes nothing.
    void openFile(const QString &path);

    void setFileDialogs(FileDialog open, FileDialog save);
    // The file-type list of both file dialogs, in Qt's "Description (patterns)" form.
    static QString fileDialogFilter();

    QPushButton *saveAsButton() const noexcept { return saveAs_; }
    QPushButton *openButton() const noexcept { return open_; }
    QPushButton *okButton() const noexcept { return ok_; }
    QPushButton *cancelButton() const noexcept { return cancel_; }
    QPushButton *applyButton() const noexcept { return apply_; }
    QLabel *errorLabel() const noexcept { return error_; }

    void accept() override;  // refuses while a value does not suit its column

signals:
    void applied(const kit::FilterNode &root);  // Apply, and OK before the dialog closes

private:
    bool validate();
    void updateCaption();
    void saveAs();
    void openExisting();

    std::vector<FilterColumn> columns_;
    FilterBuilder *builder_;
    QLabel *error_;
    QPushButton *saveAs_;
    QPushButton *open_;
    QPushButton *ok_;
    QPushButton *cancel_;
    QPushButton *apply_;
    QString fileName_;
    QString folder_;
    FileDialog openDialog_;
    FileDialog saveDialog_;
};

}  // namespace kit
