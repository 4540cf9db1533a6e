// Realistic fictional directories for benchmarks, tests and the sample data file: Italian
// companies with several departments, towns with their provinces, phone numbers, some empty
// fields and some accented letters, all in Windows-1252.
#pragma once

#include "kit/dataset/mem_table.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace dirgen {

// The whole data file: header line and one line per entry, each ending with CR LF. The same
// entries and seed give the same bytes.
std::string GenerateDataFile(std::size_t entries, std::uint32_t seed = 1);

// Appends the entries as stored records to an open table whose stored fields are the 17 contact
// fields in file order (use the store's field list).
void FillTable(kit::MemTable &table, std::size_t entries, std::uint32_t seed = 1);

}  // namespace dirgen
