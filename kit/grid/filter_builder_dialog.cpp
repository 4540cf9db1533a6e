#include "kit/grid/filter_builder_dialog.h"

#include "kit/grid/filter_builder.h"
#include "kit/grid/filter_file.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kit {

namespace {

constexpr const char *kExtension = "flt";

QString untitled()
{
    return gridText("untitled.flt");
}

}  // namespace

FilterBuilderDialog::FilterBuilderDialog(std::vector<FilterColumn> columns, QWidget *parent)
    : QDialog(parent)
    , columns_(std::move(columns))
    , builder_(new FilterBuilder(columns_, this))
    , error_(new QLabel(this))
    , saveAs_(new QPushButton(gridText("&Save As..."), this))
    , open_(new QPushButton(gridText("&Open..."), this))
    , ok_(new QPushButton(gridText("OK"), this))
    , cancel_(new QPushButton(gridText("Cancel"), this))
    , apply_(new QPushButton(gridText("&Apply"), this))
    , fileName_(untitled())
    , folder_(QDir::currentPath())
{
    setObjectName(QStringLiteral("filterBuilderDialog"));
    saveAs_->setObjectName(QStringLiteral("saveAsButton"));
    open_->setObjectName(QStringLiteral("openButton"));
    ok_->setObjectName(QStringLiteral("okButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    apply_->setObjectName(QStringLiteral("applyButton"));
    ok_->setDefault(true);
    error_->setObjectName(QStringLiteral("errorLabel"));
    error_->setStyleSheet(QStringLiteral("color: #c00000"));
    error_->hide();
    resize(560, 320);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(saveAs_);
    buttons->addWidget(open_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(builder_, 1);
    layout->addWidget(error_);
    layout->addLayout(buttons);

    connect(saveAs_, &QPushButton::clicked, this, &FilterBuilderDialog::saveAs);
    connect(open_, &QPushButton::clicked, this, &FilterBuilderDialog::openExisting);
    connect(ok_, &QPushButton::clicked, this, &FilterBuilderDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &FilterBuilderDialog::reject);
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (validate())
            emit applied(filter());
    });
    connect(builder_, &FilterBuilder::changed, error_, &QLabel::hide);

    openDialog_ = [](QWidget *owner, const QString &title, const QString &filter,
                     const QString &suggested) {
        return QFileDialog::getOpenFileName(owner, title, QFileInfo(suggested).path(), filter);
    };
    saveDialog_ = [](QWidget *owner, const QString &title, const QString &filter,
                     const QString &suggested) {
        return QFileDialog::getSaveFileName(owner, title, suggested, filter);
    };
    updateCaption();
}

void FilterBuilderDialog::setFilter(const FilterNode &root)
{
    builder_->setFilter(root);
}

FilterNode FilterBuilderDialog::filter() const
{
    return builder_->filter();
}

void FilterBuilderDialog::setFileDialogs(FileDialog open, FileDialog save)
{
    openDialog_ = std::move(open);
    saveDialog_ = std::move(save);
}

QString FilterBuilderDialog::fileDialogFilter()
{
    // The text is a list of "description|pattern" pairs, itself separated by "|".
    const QStringList parts = gridText("Filters (*.flt)|*.flt").split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt takes the patterns from the description's last parentheses when it has them.
        filters << (description.endsWith(QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

void FilterBuilderDialog::saveToFile(const QString &path)
{
    saveFilterFile(path, builder_->filter(), columns_);
    fileName_ = QFileInfo(path).fileName();
    folder_ = QFileInfo(path).absolutePath();
    updateCaption();
}

void FilterBuilderDialog::openFile(const QString &path)
{
    const FilterNode root = loadFilterFile(path, columns_);
    builder_->setFilter(root);
    fileName_ = QFileInfo(path).fileName();
    folder_ = QFileInfo(path).absolutePath();
    updateCaption();
}

void FilterBuilderDialog::saveAs()
{
    QString path = saveDialog_(this, gridText("Save the active filter to file"), fileDialogFilter(),
                               QDir(folder_).filePath(fileName_));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(kExtension);
    saveToFile(path);  // errors go to the application's error box
}

void FilterBuilderDialog::openExisting()
{
    const QString path = openDialog_(this, gridText("Open an existing filter"), fileDialogFilter(),
                                     QDir(folder_).filePath(fileName_));
    if (!path.isEmpty())
        openFile(path);  // errors go to the application's error box
}

bool FilterBuilderDialog::validate()
{
    if (!builder_->hasInvalidValue()) {
        error_->hide();
        return true;
    }
    error_->setText(gridText("Invalid value"));
    error_->show();
    return false;
}

void FilterBuilderDialog::accept()
{
    if (!validate())
        return;
    emit applied(filter());
    QDialog::accept();
}

void FilterBuilderDialog::updateCaption()
{
    setWindowTitle(QStringLiteral("%1 - [%2]").arg(gridText("Filter builder"), fileName_));
}

}  // namespace kit
