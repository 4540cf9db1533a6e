// Filter files (".flt"): the filter builder saves the filter tree to them and opens it again.
// The format is ours and is described beside the reader in filter_file.cpp.
#pragma once

#include "kit/grid/filter_criteria.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <stdexcept>
#include <string>
#include <vector>

namespace kit {

// A filter file that cannot be understood. The message is "Can't build filter from source".
class FilterFileError : public std::runtime_error {
public:
    FilterFileError();
};

// Columns are written by name; a condition on a column outside `columns` is left out.
QByteArray writeFilterText(const FilterNode &root, const std::vector<FilterColumn> &columns);
// The whole text or nothing: throws FilterFileError on anything it does not understand, a
// column that `columns` does not name (letter case ignored) included.
FilterNode readFilterText(QByteArrayView text, const std::vector<FilterColumn> &columns);

// Safe whole-file write (kit::FileError when the file cannot be written).
void saveFilterFile(const QString &path, const FilterNode &root,
                    const std::vector<FilterColumn> &columns);
// kit::FileError when the file cannot be read, FilterFileError when it cannot be understood.
FilterNode loadFilterFile(const QString &path, const std::vector<FilterColumn> &columns);

}  // namespace kit
