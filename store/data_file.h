// The directory data file: one header line of field names, then one line per record, values
// separated by TAB, every line ending with CR LF, bytes as the table holds them.
#pragma once

#include "kit/dataset/mem_table.h"

#include <stdexcept>
#include <string>
#include <string_view>

// A file that holds record lines but whose header names none of the table's fields: loading it
// would turn the user's data into empty entries.
class NotADataFileError : public std::runtime_error {
public:
    explicit NotADataFileError(const std::string &path);
};

struct LoadOutcome {
    bool loaded = false;    // the table was replaced by the file's records
    bool cutShort = false;  // a NUL byte ended the text before the end of the file
};

// Builds the whole file text of the table without changing its records or current record.
std::string DataFileText(kit::MemTable &table);
// Writes the table to `path` safely (see kit::WriteFileSafely). Does nothing on a closed table.
void SaveDataFile(kit::MemTable &table, const std::string &path);

// Replaces the table's records by those of the text (taken over by the table).
LoadOutcome LoadDataFileBuffer(kit::MemTable &table, std::unique_ptr<char[]> text, std::size_t size,
                               const std::string &pathForMessages);
// Error messages are UTF-8 text.
// Reads the file and loads it; throws kit::FileError when it cannot be read and
// NotADataFileError when its header names no field.
LoadOutcome LoadDataFile(kit::MemTable &table, const std::string &path);
