// A generated report: the page set-up, the bands as they are drawn and, per page, a display list
// of band placements with the field texts each placement prints. Pages hold no pictures, so a
// document of many thousand pages stays small, and the preview, the printer and a saved file all
// read the same lists.
#pragma once

#include "kit/report/report_types.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// A band printed at a position: `top` counts from the paper's top edge; its field texts are the
// page's texts firstText, firstText + 1, ... one per field element of the band.
struct BandPlacement {
    std::uint16_t band = 0;
    Length top = 0;
    std::uint32_t firstText = 0;
    friend bool operator==(const BandPlacement &, const BandPlacement &) = default;
};

class ReportPage {
public:
    const std::vector<BandPlacement> &placements() const noexcept { return placements_; }
    std::size_t textCount() const noexcept { return textEnds_.size(); }
    // Field texts are kept as the table stores them (single-byte Windows-1252 text).
    std::string_view text(std::size_t index) const;

    void addPlacement(std::uint16_t band, Length top);
    void addText(std::string_view bytes);

    friend bool operator==(const ReportPage &, const ReportPage &) = default;

private:
    friend class ReportDocument;
    std::vector<BandPlacement> placements_;
    std::string texts_;
    std::vector<std::uint32_t> textEnds_;
};

class ReportFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ReportDocument {
public:
    QString title;
    PageSetup setup;
    std::vector<BandLayout> bands;
    std::vector<ReportPage> pages;

    // Our own file format, versioned; load() accepts only what save() writes.
    QByteArray save() const;
    // Throws ReportFileError when the bytes are not a saved report (or a damaged one).
    static ReportDocument load(const QByteArray &bytes);
    // The same through a file: saving replaces the file only when the whole report was written;
    // loading reads the whole file first. Messages name the file.
    void saveToFile(const QString &path) const;
    static ReportDocument loadFromFile(const QString &path);

    friend bool operator==(const ReportDocument &, const ReportDocument &) = default;
};

}  // namespace kit
