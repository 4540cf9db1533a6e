#include "kit/report/report.h"

namespace kit {

ReportElement::ReportElement(QObject *band, ElementLayout layout)
    : QObject(band)
    , layout_(std::move(layout))
{
    setObjectName(layout_.name);
}

ReportBand::ReportBand(QObject *report, const QString &name, BandKind kind, Length height)
    : QObject(report)
    , kind_(kind)
    , height_(height)
{
    setObjectName(name);
}

ReportElement *ReportBand::add(ElementLayout layout)
{
    auto *element = new ReportElement(this, std::move(layout));
    elements_.push_back(element);
    return element;
}

ReportElement *ReportBand::addLabel(const QString &name, const QString &text, Box box,
                                    const TextStyle &style)
{
    return add({name, ElementKind::Label, box, text, style, 1, -1});
}

ReportElement *ReportBand::addField(const QString &name, const QString &fieldName, Box box,
                                    const TextStyle &style)
{
    return add({name, ElementKind::Field, box, fieldName, style, 1, -1});
}

ReportElement *ReportBand::addRule(const QString &name, Box box, int penWidth, const QColor &color)
{
    TextStyle style;
    style.color = color;
    return add({name, ElementKind::Rule, box, {}, style, penWidth, -1});
}

BandLayout ReportBand::layout() const
{
    BandLayout band{objectName(), kind_, height_, {}, 0};
    band.elements.reserve(elements_.size());
    for (const ReportElement *element : elements_) {
        ElementLayout item = element->layout();
        if (item.kind == ElementKind::Field)
            item.fieldSlot = band.fieldCount++;
        band.elements.push_back(std::move(item));
    }
    return band;
}

Report::Report(QObject *parent)
    : QObject(parent)
{}

ReportBand *Report::addBand(const QString &name, BandKind kind, Length height)
{
    auto *band = new ReportBand(this, name, kind, height);
    bands_.push_back(band);
    return band;
}

}  // namespace kit
