#include "kit/dbctrls/db_edit.h"

#include "kit/text/codec.h"

#include <QKeyEvent>
#include <QValidator>

namespace kit {

// A line edit runs every change of its text, however it came (keys, paste, drop, input
// method), through its validator, which may rewrite it: the one place to convert what entered.
class DBEdit::TypingFilter final : public QValidator {
public:
    explicit TypingFilter(DBEdit *edit)
        : QValidator(edit)
        , edit_(edit)
    {}

    State validate(QString &input, int &pos) const override
    {
        if (edit_->quiet_)
            return Acceptable;
        const TextChange change = textChange(edit_->lastText_, input);
        if (change.insertedLength == 0)
            return Acceptable;
        const QString inserted = input.mid(change.start, change.insertedLength);
        const QString converted = convertTypedText(inserted, edit_->charCase_);
        if (converted == inserted)
            return Acceptable;
        input.replace(change.start, change.insertedLength, converted);
        const qsizetype end = change.start + change.insertedLength;
        if (pos >= end)
            pos -= static_cast<int>(change.insertedLength - converted.size());
        else if (pos > change.start + converted.size())
            pos = static_cast<int>(change.start + converted.size());
        return Acceptable;
    }

private:
    DBEdit *edit_;
};

DBEdit::DBEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setValidator(new TypingFilter(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) { lastText_ = text; });
    connect(this, &QLineEdit::textEdited, this, [this] { userEdited(); });
}

DBEdit::~DBEdit() = default;

void DBEdit::bind(DataSource *source, const QString &fieldName)
{
    fieldName_ = fieldName;
    setDataSource(source);
    MemTable *t = table();
    field_ = t ? t->findField(fieldName.toStdString()) : -1;
    const int width = field_ >= 0 ? t->fieldWidth(field_) : 0;
    setMaxLength(width > 0 ? width : 32767);
    load();
}

void DBEdit::load()
{
    MemTable *t = table();
    const QString value =
        t && field_ >= 0 && t->isOpen() ? fromCp1252(t->currentValue(field_)) : QString();
    quiet_ = true;
    setText(value);
    quiet_ = false;
    userModified_ = false;
}

void DBEdit::reset()
{
    load();
}

void DBEdit::userEdited()
{
    userModified_ = true;
    MemTable *t = table();
    if (!t || field_ < 0 || t->state() != DataSetState::Browse || !t->hasCurrent())
        return;
    // The change of state would reload the edit and lose what was just typed.
    const QString typed = text();
    const int cursor = cursorPosition();
    quiet_ = true;
    try {
        t->edit();
    } catch (const DataSetError &) {
        quiet_ = false;
        load();
        return;
    }
    quiet_ = false;
    if (text() != typed) {
        setText(typed);
        setCursorPosition(cursor);
    }
}

void DBEdit::updateRecord()
{
    MemTable *t = table();
    if (!userModified_ || !t || field_ < 0)
        return;
    if (t->state() != DataSetState::Edit && t->state() != DataSetState::Insert)
        return;
    quiet_ = true;
    try {
        t->setCurrentValue(field_, toCp1252(text()));
    } catch (...) {
        quiet_ = false;
        throw;
    }
    quiet_ = false;
    userModified_ = false;
}

void DBEdit::dataEvent(const DataEvent &event)
{
    if (quiet_)
        return;
    switch (event.kind) {
    case DataEventKind::DataSetChanged:
    case DataEventKind::CursorMoved:
    case DataEventKind::StateChanged:
    case DataEventKind::RecordDeleted:
        load();
        break;
    case DataEventKind::RecordUpdated:
        if (table() && event.row == table()->currentRow())
            load();
        break;
    case DataEventKind::FieldChanged:
        if (event.field == field_)
            load();
        break;
    case DataEventKind::UpdateRecord:  // a post is about to store the record
        updateRecord();
        break;
    case DataEventKind::RecordAppended:
        break;
    }
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        load();
        selectAll();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    updateRecord();
}

}  // namespace kit
