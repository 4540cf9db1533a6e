#include "data_file.h"

#include "kit/dataset/file_io.h"
#include "kit/dataset/large_pages.h"

#include <cstring>
#include <vector>

NotADataFileError::NotADataFileError(const std::string &path)
    : std::runtime_error("Il file \"" + path +
                         "\" non è un archivio della rubrica: nessuna colonna corrisponde a un "
                         "campo")
{}

namespace {

// Ends the suspension and the loading mode however the load ends.
class LoadingScope {
public:
    explicit LoadingScope(kit::MemTable &table)
        : table_(table)
    {
        table_.setLoading(true);
        table_.suspendNotifications();
    }
    ~LoadingScope()
    {
        table_.setLoading(false);
        table_.resumeNotifications();
    }
    LoadingScope(const LoadingScope &) = delete;
    LoadingScope &operator=(const LoadingScope &) = delete;

private:
    kit::MemTable &table_;
};

class NotificationPause {
public:
    explicit NotificationPause(kit::MemTable &table)
        : table_(table)
    {
        table_.suspendNotifications();
    }
    ~NotificationPause() { table_.resumeNotifications(); }
    NotificationPause(const NotificationPause &) = delete;
    NotificationPause &operator=(const NotificationPause &) = delete;

private:
    kit::MemTable &table_;
};

// Lines end at CR LF, at a lone CR or at a lone LF; a last line without an ending still counts.
class LineSplitter {
public:
    LineSplitter(const char *begin, const char *end)
        : p_(begin)
        , end_(end)
    {}

    bool next(std::string_view &line)
    {
        if (p_ >= end_)
            return false;
        if (nextLf_ < p_)
            nextLf_ = find('\n', p_);
        const char *cr = static_cast<const char *>(std::memchr(p_, '\r', nextLf_ - p_));
        const char *stop = cr ? cr : nextLf_;
        line = std::string_view(p_, static_cast<std::size_t>(stop - p_));
        if (stop == end_)
            p_ = end_;
        else if (cr && cr + 1 < end_ && cr[1] == '\n')
            p_ = cr + 2;
        else
            p_ = stop + 1;
        return true;
    }

private:
    const char *find(char c, const char *from) const
    {
        const void *hit = std::memchr(from, c, static_cast<std::size_t>(end_ - from));
        return hit ? static_cast<const char *>(hit) : end_;
    }

    const char *p_;
    const char *end_;
    const char *nextLf_ = nullptr;
};

// The values of a line: the text up to each TAB, then the rest when it is not empty, so a TAB
// at the end of a line yields no extra value. At most `limit` values are taken.
std::size_t splitValues(std::string_view line, std::vector<std::string_view> &out,
                        std::size_t limit)
{
    out.clear();
    const char *p = line.data();
    const char *end = p + line.size();
    while (p < end && out.size() < limit) {
        const char *tab = static_cast<const char *>(std::memchr(p, '\t', end - p));
        if (!tab) {
            out.emplace_back(p, static_cast<std::size_t>(end - p));
            break;
        }
        out.emplace_back(p, static_cast<std::size_t>(tab - p));
        p = tab + 1;
    }
    return out.size();
}

std::size_t countLineFeeds(const char *p, const char *end)
{
    std::size_t n = 0;
    while (p < end) {
        const void *hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!hit)
            break;
        ++n;
        p = static_cast<const char *>(hit) + 1;
    }
    return n;
}

void appendSanitised(std::string &out, std::string_view value)
{
    for (const char c : value)
        out.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
}

}  // namespace

std::string DataFileText(kit::MemTable &table)
{
    NotificationPause pause(table);
    kit::Bookmark mark = table.getBookmark();

    std::vector<int> fields;
    std::string out;
    for (int f = 0; f < table.fieldCount(); ++f) {
        if (table.isComputedField(f))
            continue;
        if (!fields.empty())
            out.push_back('\t');
        out += table.fieldName(f);
        fields.push_back(f);
    }
    out += "\r\n";

    std::size_t size = out.size();
    for (std::size_t row = 0; row < table.recordCount(); ++row)
        size += table.recordBytes(row).size() + 2;
    out.reserve(size);
    kit::PreferLargePages(out.data(), out.capacity());

    // A stored record's bytes are its line already, unless a value holds a TAB, CR or LF, which
    // the format cannot carry: those become blanks so the file keeps one line per record.
    const bool storedOrder = static_cast<int>(fields.size()) == table.storedFieldCount();
    for (table.first(); !table.eof(); table.next()) {
        const std::size_t row = table.currentRow();
        if (storedOrder && table.recordIsClean(row)) {
            out += table.recordBytes(row);
        } else {
            for (std::size_t k = 0; k < fields.size(); ++k) {
                if (k)
                    out.push_back('\t');
                appendSanitised(out, table.value(row, fields[k]));
            }
        }
        out += "\r\n";
    }

    table.gotoBookmark(mark);
    table.freeBookmark(mark);
    return out;
}

void SaveDataFile(kit::MemTable &table, const std::string &path)
{
    if (!table.isOpen())
        return;
    kit::WriteFileSafely(path, DataFileText(table));
}

LoadOutcome LoadDataFileBuffer(kit::MemTable &table, std::unique_ptr<char[]> text, std::size_t size,
                               const std::string &pathForMessages)
{
    LoadOutcome outcome;
    const char *begin = text.get();
    if (const void *nul = std::memchr(begin, '\0', size)) {
        size = static_cast<std::size_t>(static_cast<const char *>(nul) - begin);
        outcome.cutShort = true;
    }
    const char *end = begin + size;
    LineSplitter lines(begin, end);
    std::string_view header;
    if (!lines.next(header))
        return outcome;

    LoadingScope loading(table);
    table.close();
    table.open();
    outcome.loaded = true;

    // Column k feeds stored field columns[k], or nothing (-1).
    const std::size_t storedCount = static_cast<std::size_t>(table.storedFieldCount());
    std::vector<std::string_view> values;
    splitValues(header, values, static_cast<std::size_t>(-1));
    std::vector<int> columns;
    bool anyMapped = false;
    bool canonical = values.size() == storedCount;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const int f = table.findField(values[k]);
        const int stored = f < 0 || table.isComputedField(f) ? -1 : table.storedIndex(f);
        columns.push_back(stored);
        anyMapped |= stored >= 0;
        canonical &= stored == static_cast<int>(k);
    }

    const char *body = header.data() + header.size();
    if (!anyMapped) {
        std::string_view probe;
        LineSplitter rest = lines;
        if (rest.next(probe))
            throw NotADataFileError(pathForMessages);
    }

    table.reserve(countLineFeeds(body, end) + 1);
    table.adoptStorage(std::move(text), size);

    std::vector<std::string_view> mapped(storedCount);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t got = splitValues(line, values, columns.size());
        if (canonical) {
            table.appendStored(std::span(values.data(), got), true);
            continue;
        }
        std::fill(mapped.begin(), mapped.end(), std::string_view());
        for (std::size_t k = 0; k < got; ++k)
            if (columns[k] >= 0 && !values[k].empty())
                mapped[static_cast<std::size_t>(columns[k])] = values[k];
        table.appendStored(mapped, true);
    }
    table.setLoading(false);
    table.first();
    return outcome;
}

LoadOutcome LoadDataFile(kit::MemTable &table, const std::string &path)
{
    kit::FileBuffer file = kit::ReadWholeFile(path);
    return LoadDataFileBuffer(table, std::move(file.data), file.size, path);
}
