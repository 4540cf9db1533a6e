// A report definition: page set-up, a title, the bands with their elements, and the table whose
// records the detail band prints. Bands and elements are child objects named after their design
// names, so they can be found with findChild. The definition holds no pages: a generator turns
// it into a ReportDocument.
#pragma once

#include "kit/report/report_types.h"

#include <QObject>

#include <vector>

namespace kit {

class MemTable;

class ReportElement : public QObject {
    Q_OBJECT
public:
    ReportElement(QObject *band, ElementLayout layout);
    const ElementLayout &layout() const noexcept { return layout_; }

private:
    ElementLayout layout_;
};

class ReportBand : public QObject {
    Q_OBJECT
public:
    ReportBand(QObject *report, const QString &name, BandKind kind, Length height);

    BandKind kind() const noexcept { return kind_; }
    Length height() const noexcept { return height_; }
    const std::vector<ReportElement *> &elements() const noexcept { return elements_; }

    // Elements are drawn in the order they are added.
    ReportElement *addLabel(const QString &name, const QString &text, Box box,
                            const TextStyle &style);
    // `fieldName` is looked up in the report's table when the report is generated, letter case
    // ignored; a name that matches no field makes the generation fail.
    ReportElement *addField(const QString &name, const QString &fieldName, Box box,
                            const TextStyle &style);
    ReportElement *addRule(const QString &name, Box box, int penWidth, const QColor &color);

    BandLayout layout() const;

private:
    ReportElement *add(ElementLayout layout);

    BandKind kind_;
    Length height_;
    std::vector<ReportElement *> elements_;
};

class Report : public QObject {
    Q_OBJECT
public:
    explicit Report(QObject *parent = nullptr);

    void setTitle(const QString &title) { title_ = title; }
    const QString &title() const noexcept { return title_; }
    void setPageSetup(const PageSetup &setup) { setup_ = setup; }
    const PageSetup &pageSetup() const noexcept { return setup_; }
    // The table the detail band walks; it must outlive the report or be unbound first.
    void setTable(MemTable *table) noexcept { table_ = table; }
    MemTable *table() const noexcept { return table_; }

    ReportBand *addBand(const QString &name, BandKind kind, Length height);
    const std::vector<ReportBand *> &bands() const noexcept { return bands_; }

private:
    QString title_;
    PageSetup setup_;
    MemTable *table_ = nullptr;
    std::vector<ReportBand *> bands_;
};

}  // namespace kit
