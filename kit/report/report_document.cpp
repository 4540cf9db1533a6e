#include "kit/report/report_document.h"

#include "kit/dataset/file_io.h"

#include <QDataStream>
#include <QIODevice>

#include <limits>

namespace kit {

namespace {

constexpr quint32 kMagic = 0x4B525054;  // "KRPT"
constexpr quint16 kVersion = 1;
constexpr auto kStreamVersion = QDataStream::Qt_6_4;

void writeStyle(QDataStream &out, const TextStyle &style)
{
    out << style.font.family << style.font.pointSize << style.font.bold << style.font.italic
        << style.font.underline << style.color << static_cast<quint8>(style.alignment)
        << style.autoSize;
}

void readStyle(QDataStream &in, TextStyle &style)
{
    quint8 alignment = 0;
    in >> style.font.family >> style.font.pointSize >> style.font.bold >> style.font.italic >>
        style.font.underline >> style.color >> alignment >> style.autoSize;
    if (alignment > static_cast<quint8>(TextAlignment::Right))
        in.setStatus(QDataStream::ReadCorruptData);
    style.alignment = static_cast<TextAlignment>(alignment);
}

void writeBox(QDataStream &out, const Box &box)
{
    out << box.left << box.top << box.width << box.height;
}

void readBox(QDataStream &in, Box &box)
{
    in >> box.left >> box.top >> box.width >> box.height;
}

// Reads a count and checks it against what the rest of the stream could possibly hold, so a
// damaged file cannot make us reserve gigabytes.
quint32 readCount(QDataStream &in, quint32 limit)
{
    quint32 count = 0;
    in >> count;
    if (count > limit)
        in.setStatus(QDataStream::ReadCorruptData);
    return in.status() == QDataStream::Ok ? count : 0;
}

void writeBand(QDataStream &out, const BandLayout &band)
{
    out << band.name << static_cast<quint8>(band.kind) << band.height
        << static_cast<quint32>(band.elements.size());
    for (const ElementLayout &e : band.elements) {
        out << e.name << static_cast<quint8>(e.kind);
        writeBox(out, e.box);
        out << e.text;
        writeStyle(out, e.style);
        out << qint32(e.penWidth) << qint32(e.fieldSlot);
    }
}

void readBand(QDataStream &in, BandLayout &band, quint32 limit)
{
    quint8 kind = 0;
    in >> band.name >> kind >> band.height;
    band.kind = static_cast<BandKind>(kind);
    if (kind > static_cast<quint8>(BandKind::Detail))
        in.setStatus(QDataStream::ReadCorruptData);
    const quint32 count = readCount(in, limit);
    band.elements.resize(count);
    band.fieldCount = 0;
    for (ElementLayout &e : band.elements) {
        quint8 elementKind = 0;
        qint32 penWidth = 0, fieldSlot = 0;
        in >> e.name >> elementKind;
        readBox(in, e.box);
        in >> e.text;
        readStyle(in, e.style);
        in >> penWidth >> fieldSlot;
        e.kind = static_cast<ElementKind>(elementKind);
        e.penWidth = penWidth;
        e.fieldSlot = fieldSlot;
        const bool isField = e.kind == ElementKind::Field;
        if (elementKind > static_cast<quint8>(ElementKind::Rule) ||
            (isField ? fieldSlot != band.fieldCount : fieldSlot != -1))
            in.setStatus(QDataStream::ReadCorruptData);
        if (isField)
            ++band.fieldCount;
    }
}

// A page is its placements in order, each with its band's field texts.
void writePage(QDataStream &out, const ReportPage &page, const std::vector<BandLayout> &bands)
{
    out << static_cast<quint32>(page.placements().size());
    for (const BandPlacement &p : page.placements()) {
        out << p.band << p.top;
        for (int i = 0; i < bands.at(p.band).fieldCount; ++i) {
            const std::string_view text = page.text(p.firstText + static_cast<std::size_t>(i));
            out.writeBytes(text.data(), static_cast<uint>(text.size()));
        }
    }
}

void readPage(QDataStream &in, ReportPage &page, const std::vector<BandLayout> &bands,
              quint32 limit)
{
    const quint32 placements = readCount(in, limit);
    for (quint32 n = 0; n < placements && in.status() == QDataStream::Ok; ++n) {
        std::uint16_t band = 0;
        Length top = 0;
        in >> band >> top;
        if (band >= bands.size()) {
            in.setStatus(QDataStream::ReadCorruptData);
            return;
        }
        page.addPlacement(band, top);
        for (int i = 0; i < bands[band].fieldCount && in.status() == QDataStream::Ok; ++i) {
            char *bytes = nullptr;
            uint length = 0;
            in.readBytes(bytes, length);
            const std::unique_ptr<char[]> owner(bytes);
            page.addText({bytes ? bytes : "", bytes ? length : 0});
        }
    }
}

}  // namespace

std::string_view ReportPage::text(std::size_t index) const
{
    const std::uint32_t begin = index == 0 ? 0 : textEnds_.at(index - 1);
    return std::string_view(texts_).substr(begin, textEnds_.at(index) - begin);
}

void ReportPage::addPlacement(std::uint16_t band, Length top)
{
    placements_.push_back({band, top, static_cast<std::uint32_t>(textEnds_.size())});
}

void ReportPage::addText(std::string_view bytes)
{
    texts_.append(bytes);
    textEnds_.push_back(static_cast<std::uint32_t>(texts_.size()));
}

QByteArray ReportDocument::save() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kMagic << kVersion << title;
    out << setup.paperWidth << setup.paperHeight << setup.topMargin << setup.bottomMargin
        << setup.leftMargin << setup.rightMargin;
    out << static_cast<quint32>(bands.size());
    for (const BandLayout &band : bands)
        writeBand(out, band);
    out << static_cast<quint32>(pages.size());
    for (const ReportPage &page : pages)
        writePage(out, page, bands);
    return bytes;
}

ReportDocument ReportDocument::load(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(kStreamVersion);
    quint32 magic = 0;
    quint16 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != kMagic)
        throw ReportFileError("The file is not a saved report");
    if (version != kVersion)
        throw ReportFileError("The saved report has an unknown version " + std::to_string(version));
    // Every counted item takes at least one byte, so no count can exceed the size.
    const quint32 limit = static_cast<quint32>(
        std::min<qsizetype>(bytes.size(), std::numeric_limits<quint32>::max()));
    ReportDocument doc;
    in >> doc.title;
    PageSetup &s = doc.setup;
    in >> s.paperWidth >> s.paperHeight >> s.topMargin >> s.bottomMargin >> s.leftMargin >>
        s.rightMargin;
    doc.bands.resize(readCount(in, std::min<quint32>(limit, 0xFFFF)));
    for (BandLayout &band : doc.bands)
        readBand(in, band, limit);
    doc.pages.resize(readCount(in, limit));
    for (ReportPage &page : doc.pages) {
        if (in.status() != QDataStream::Ok)
            break;
        readPage(in, page, doc.bands, limit);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        throw ReportFileError("The saved report is damaged");
    return doc;
}

void ReportDocument::saveToFile(const QString &path) const
{
    const QByteArray bytes = save();
    WriteFileSafely(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
}

ReportDocument ReportDocument::loadFromFile(const QString &path)
{
    const FileBuffer file = ReadWholeFile(path.toStdString());
    try {
        return load(QByteArray::fromRawData(file.data.get(), static_cast<qsizetype>(file.size)));
    } catch (const ReportFileError &error) {
        throw ReportFileError(QStringLiteral("Cannot load \"%1\". %2.")
                                  .arg(path, QString::fromUtf8(error.what()))
                                  .toStdString());
    }
}

}  // namespace kit
