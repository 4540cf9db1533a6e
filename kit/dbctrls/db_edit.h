// A single-line edit bound to one field of a table through a data source. It shows the field of
// the current record and follows it; it accepts at most the field's width; what the user types
// or pastes is converted as it enters (see typed_text.h), the text already there is left alone.
// The text is written into the record when the focus leaves and when the record is posted, and
// only when the user changed it. Typing while the table
// is browsing puts the record into edit state. Escape puts the stored value back and selects it;
// Enter is swallowed, so neither key reaches the window.
#pragma once

#include "kit/dataset/data_source.h"
#include "kit/dbctrls/typed_text.h"

#include <QLineEdit>

namespace kit {

class DBEdit : public QLineEdit, public DataLink {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    ~DBEdit() override;

    // Binds the edit to `fieldName` of the source's table; the maximum length becomes the
    // field's width.
    void bind(DataSource *source, const QString &fieldName);
    QString dataField() const { return fieldName_; }
    int fieldIndex() const noexcept { return field_; }

    void setCharCase(CharCase charCase) noexcept { charCase_ = charCase; }
    CharCase charCase() const noexcept { return charCase_; }

    // Writes the text into the current record if the user changed it.
    void updateRecord();
    // Shows the stored value again, forgetting the user's change.
    void reset();
    bool isUserModified() const noexcept { return userModified_; }

protected:
    void dataEvent(const DataEvent &event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    class TypingFilter;
    friend class TypingFilter;

    void load();
    void userEdited();

    QString fieldName_;
    int field_ = -1;
    CharCase charCase_ = CharCase::Normal;
    bool userModified_ = false;
    bool quiet_ = false;  // our own change of the table or of the text: nothing to follow
    QString lastText_;    // the text before the change being checked
};

}  // namespace kit
