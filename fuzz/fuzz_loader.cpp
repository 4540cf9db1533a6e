// Feeds arbitrary bytes to the data-file loader: it must not crash or leak, every loaded value
// must fit its field and carry no TAB, CR, LF or NUL, and saving must give one line per record
// with a value for every field.
#include "store/UDM1.h"
#include "store/data_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    kit::MemTable table(ContactFieldDefs(), ContactField::Key, ContactField::RecId);
    table.open();
    auto buffer = std::make_unique<char[]>(size + 1);
    std::memcpy(buffer.get(), data, size);
    try {
        LoadDataFileBuffer(table, std::move(buffer), size, "fuzz.dat");
    } catch (const NotADataFileError &) {
        check(table.recordCount() == 0);
        return 0;
    }
    check(!table.notificationsSuspended() && !table.isLoading());
    for (std::size_t row = 0; row < table.recordCount(); ++row) {
        for (int f = 1; f < table.fieldCount(); ++f) {
            const std::string_view v = table.value(row, f);
            check(v.size() <= static_cast<std::size_t>(table.fieldWidth(f)));
            check(v.find_first_of(std::string_view("\t\r\n\0", 4)) == std::string_view::npos);
        }
    }
    const std::string text = DataFileText(table);
    check(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) ==
          table.recordCount() + 1);
    check(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\t')) ==
          16 * (table.recordCount() + 1));
    return 0;
}
