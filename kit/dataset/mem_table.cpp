#include "mem_table.h"

#include "data_source.h"
#include "large_pages.h"

#include <algorithm>
#include <cstring>

namespace kit {

namespace {

constexpr std::size_t kArenaBlock = std::size_t(1) << 20;

bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        const auto lx = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        const auto ly = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (lx != ly)
            return false;
    }
    return true;
}

// A stored value keeps at most `width` bytes and ends at the first NUL.
std::string_view clip(std::string_view text, int width) noexcept
{
    if (text.empty())
        return text;
    if (const void *nul = std::memchr(text.data(), 0, text.size()))
        text = text.substr(0, static_cast<const char *>(nul) - text.data());
    if (text.size() > static_cast<std::size_t>(width))
        text = text.substr(0, static_cast<std::size_t>(width));
    return text;
}

// A record's bytes are clean when the only TABs are the separators and no CR or LF occurs.
bool isClean(std::string_view bytes, std::size_t fields) noexcept
{
    std::size_t tabs = 0;
    for (const char c : bytes) {
        if (c == '\r' || c == '\n')
            return false;
        tabs += c == '\t';
    }
    return tabs + 1 == fields || (fields == 0 && tabs == 0);
}

}  // namespace

// The record being inserted or edited, held apart until it is posted.
struct MemTable::Pending {
    std::vector<std::string> values;
    bool isNew = false;
    std::uint32_t recId = 0;
};

// Record numbers ordered by (key, record number). Built on the first look-up and kept up to date
// from then on; a bulk load only marks it stale, so loading pays nothing for it.
class MemTable::KeyIndex {
public:
    explicit KeyIndex(const MemTable &table)
        : table_(table)
    {}

    void invalidate() noexcept
    {
        built_ = false;
        ids_.clear();
        ids_.shrink_to_fit();
    }

    std::size_t find(std::string_view key)
    {
        build();
        const auto it = std::lower_bound(
            ids_.begin(), ids_.end(), key,
            [this](std::uint32_t id, std::string_view k) { return keyOf(id) < k; });
        if (it == ids_.end() || keyOf(*it) != key)
            return npos;
        return table_.rowOfRecId(*it);
    }

    void insert(std::uint32_t id, std::string_view key)
    {
        if (!built_)
            return;
        ids_.insert(position(id, key), id);
    }

    void erase(std::uint32_t id, std::string_view key)
    {
        if (!built_)
            return;
        const auto it = position(id, key);
        if (it != ids_.end() && *it == id)
            ids_.erase(it);
    }

private:
    std::string_view keyOf(std::uint32_t id) const
    {
        return table_.storedValue(table_.rowOfRecId(id), table_.keyField_);
    }

    std::vector<std::uint32_t>::iterator position(std::uint32_t id, std::string_view key)
    {
        return std::lower_bound(ids_.begin(), ids_.end(), id,
                                [this, key](std::uint32_t probe, std::uint32_t wanted) {
                                    const auto k = keyOf(probe);
                                    return k < key || (k == key && probe < wanted);
                                });
    }

    void build()
    {
        if (built_)
            return;
        // Sorting on the keys' first sixteen bytes, held beside the rows, spares most
        // comparisons a trip to the records; only equal prefixes read the keys. Rows break ties,
        // so equal keys keep table order.
        struct Entry {
            std::uint64_t prefix[2];
            std::uint32_t row;
        };
        const std::size_t n = table_.recordCount();
        const int key = table_.keyField_;
        std::vector<Entry> entries;
        ReserveLarge(entries, n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::string_view k = table_.storedValue(i, key);
            entries.push_back(
                {{prefixOf(k), prefixOf(k.substr(std::min<std::size_t>(8, k.size())))},
                 static_cast<std::uint32_t>(i)});
        }
        std::sort(entries.begin(), entries.end(), [this, key](const Entry &a, const Entry &b) {
            if (a.prefix[0] != b.prefix[0])
                return a.prefix[0] < b.prefix[0];
            if (a.prefix[1] != b.prefix[1])
                return a.prefix[1] < b.prefix[1];
            const int c = table_.storedValue(a.row, key).compare(table_.storedValue(b.row, key));
            return c != 0 ? c < 0 : a.row < b.row;
        });
        ids_.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            ids_[i] = table_.recIds_[entries[i].row];
        built_ = true;
    }

    // The first eight bytes, big-endian and zero-padded: integer order agrees with the order
    // of string_view::compare on them.
    static std::uint64_t prefixOf(std::string_view text) noexcept
    {
        std::uint64_t prefix = 0;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = prefix << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
        return prefix;
    }

    const MemTable &table_;
    std::vector<std::uint32_t> ids_;
    bool built_ = false;
};

// --- Field

const std::string &Field::name() const
{
    return table_->fieldName(index_);
}
int Field::width() const
{
    return table_->fieldWidth(index_);
}
bool Field::isComputed() const noexcept
{
    return table_->isComputedField(index_);
}
std::string Field::asString() const
{
    return table_->currentValue(index_);
}
void Field::setAsString(std::string_view text)
{
    table_->setCurrentValue(index_, text);
}

// --- MemTable

MemTable::MemTable(std::vector<FieldDef> fields, std::string keyField, std::string recIdFieldName)
    : hasRecId_(!recIdFieldName.empty())
{
    if (hasRecId_)
        names_.push_back(std::move(recIdFieldName));
    for (auto &def : fields) {
        names_.push_back(std::move(def.name));
        widths_.push_back(def.width);
    }
    if (!keyField.empty()) {
        keyField_ = storedIndex(findField(keyField));
        if (keyField_ < 0)
            throw DataSetError("Field '" + keyField + "' not found");
        keyIndex_ = std::make_unique<KeyIndex>(*this);
    }
}

MemTable::~MemTable()
{
    for (DataSource *source : sources_)
        source->tableGone();
}

void MemTable::open()
{
    if (isOpen())
        return;
    clearRecords();
    nextRecId_ = 1;
    ++generation_;
    setState(DataSetState::Browse);
    notify({DataEventKind::DataSetChanged});
}

void MemTable::close()
{
    if (!isOpen())
        return;
    clearRecords();
    ++generation_;
    state_ = DataSetState::Inactive;
    notify({DataEventKind::DataSetChanged});
}

void MemTable::clearRecords() noexcept
{
    pending_.reset();
    data_.clear();
    data_.shrink_to_fit();
    lens_.clear();
    lens_.shrink_to_fit();
    recIds_.clear();
    recIds_.shrink_to_fit();
    clean_.clear();
    clean_.shrink_to_fit();
    arena_.clear();
    arenaUsed_ = arenaSize_ = 0;
    adopted_.clear();
    adoptedBegin_ = adoptedEnd_ = nullptr;
    current_ = npos;
    eof_ = true;
    if (keyIndex_)
        keyIndex_->invalidate();
}

int MemTable::findField(std::string_view name) const noexcept
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (equalsIgnoreCase(names_[i], name))
            return static_cast<int>(i);
    return -1;
}

Field MemTable::fieldByName(std::string_view name)
{
    const int index = findField(name);
    if (index < 0)
        throw DataSetError("Field '" + std::string(name) + "' not found");
    return {this, index};
}

int MemTable::fieldWidth(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw DataSetError("Field index out of range");
    return isComputedField(index) ? 0 : widths_[storedIndex(index)];
}

void MemTable::requireOpen() const
{
    if (!isOpen())
        throw DataSetError("Cannot perform this operation on a closed dataset");
}

void MemTable::setState(DataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    notify({DataEventKind::StateChanged});
}

void MemTable::setCurrent(std::size_t row)
{
    current_ = row;
    notify({DataEventKind::CursorMoved, row});
}

// Moving the cursor while a record is pending stores it first, as a navigating user would expect.
void MemTable::first()
{
    requireOpen();
    if (pending_)
        post();
    eof_ = data_.empty();
    setCurrent(data_.empty() ? npos : 0);
}

void MemTable::next()
{
    requireOpen();
    if (pending_)
        post();
    if (current_ != npos && current_ + 1 < data_.size()) {
        eof_ = false;
        setCurrent(current_ + 1);
    } else {
        eof_ = true;
    }
}

void MemTable::moveTo(std::size_t row)
{
    requireOpen();
    if (row >= data_.size())
        throw DataSetError("Record index out of range");
    if (pending_)
        post();
    eof_ = false;
    if (row != current_)
        setCurrent(row);
}

void MemTable::append()
{
    requireOpen();
    if (pending_)
        post();
    pending_ = std::make_unique<Pending>();
    pending_->values.assign(widths_.size(), std::string());
    pending_->isNew = true;
    pending_->recId = nextRecId_;
    current_ = npos;
    setState(DataSetState::Insert);
    notify({DataEventKind::CursorMoved});
    if (!loading_ && afterInsert_)
        afterInsert_(*this);
}

void MemTable::edit()
{
    requireOpen();
    if (pending_)
        return;
    if (data_.empty()) {
        append();
        return;
    }
    if (current_ == npos)
        throw DataSetError("No current record");
    pending_ = std::make_unique<Pending>();
    pending_->values.reserve(widths_.size());
    for (int k = 0; k < storedFieldCount(); ++k)
        pending_->values.emplace_back(storedValue(current_, k));
    pending_->recId = recIds_[current_];
    setState(DataSetState::Edit);
}

void MemTable::post()
{
    if (!pending_)
        throw DataSetError("Dataset not in edit or insert mode");
    deliver({DataEventKind::UpdateRecord});
    if (!pending_)
        return;  // an editor cancelled the record while writing it
    std::unique_ptr<Pending> pending = std::move(pending_);
    if (pending->isNew) {
        const std::size_t row = data_.size();
        data_.push_back(nullptr);
        lens_.resize(lens_.size() + widths_.size());
        recIds_.push_back(pending->recId);
        clean_.push_back(1);
        nextRecId_ = pending->recId + 1;
        storeRecord(row, pending->values, true);
        ++changes_;
        current_ = row;
        eof_ = false;
        state_ = DataSetState::Browse;
        notify({DataEventKind::RecordAppended, row});
        notify({DataEventKind::StateChanged});
        notify({DataEventKind::CursorMoved, row});
    } else {
        const std::size_t row = current_;
        storeRecord(row, pending->values, false);
        ++changes_;
        state_ = DataSetState::Browse;
        notify({DataEventKind::RecordUpdated, row});
        notify({DataEventKind::StateChanged});
    }
}

void MemTable::cancel()
{
    if (!pending_)
        return;
    const bool wasInsert = pending_->isNew;
    pending_.reset();
    state_ = DataSetState::Browse;
    notify({DataEventKind::StateChanged});
    if (wasInsert)
        setCurrent(data_.empty() ? npos : data_.size() - 1);
    else
        notify({DataEventKind::CursorMoved, current_});
}

void MemTable::deleteCurrent()
{
    requireOpen();
    if (pending_)
        cancel();
    if (current_ == npos)
        throw DataSetError("Cannot perform this operation on an empty dataset");
    const std::size_t row = current_;
    const std::uint32_t id = recIds_[row];
    if (keyIndex_)
        keyIndex_->erase(id, storedValue(row, keyField_));
    const std::size_t n = widths_.size();
    data_.erase(data_.begin() + static_cast<std::ptrdiff_t>(row));
    lens_.erase(lens_.begin() + static_cast<std::ptrdiff_t>(row * n),
                lens_.begin() + static_cast<std::ptrdiff_t>((row + 1) * n));
    recIds_.erase(recIds_.begin() + static_cast<std::ptrdiff_t>(row));
    clean_.erase(clean_.begin() + static_cast<std::ptrdiff_t>(row));
    ++changes_;
    current_ = data_.empty() ? npos : std::min(row, data_.size() - 1);
    eof_ = data_.empty();
    notify({DataEventKind::RecordDeleted, row, -1, id});
    notify({DataEventKind::CursorMoved, current_});
}

void MemTable::refresh()
{
    requireOpen();
    if (current_ != npos)
        notify({DataEventKind::RecordUpdated, current_});
}

std::string_view MemTable::storedValue(std::size_t row, int stored) const noexcept
{
    const std::size_t n = widths_.size();
    const std::uint16_t *lens = lens_.data() + row * n;
    std::size_t offset = 0;
    for (int k = 0; k < stored; ++k)
        offset += lens[k] + 1u;
    return {data_[row] + offset, lens[stored]};
}

std::string_view MemTable::value(std::size_t row, int fieldIndex) const
{
    if (row >= data_.size())
        throw DataSetError("Record index out of range");
    if (fieldIndex < 0 || fieldIndex >= fieldCount())
        throw DataSetError("Field index out of range");
    if (isComputedField(fieldIndex))
        return {};
    return storedValue(row, storedIndex(fieldIndex));
}

std::string MemTable::currentValue(int fieldIndex) const
{
    if (fieldIndex < 0 || fieldIndex >= fieldCount())
        throw DataSetError("Field index out of range");
    if (isComputedField(fieldIndex)) {
        const std::uint32_t id = pending_           ? pending_->recId
                                 : current_ != npos ? recIds_[current_]
                                                    : 0;
        return id ? std::to_string(id) : std::string();
    }
    if (pending_)
        return pending_->values[storedIndex(fieldIndex)];
    if (current_ == npos)
        return {};
    return std::string(storedValue(current_, storedIndex(fieldIndex)));
}

void MemTable::setCurrentValue(int fieldIndex, std::string_view text)
{
    if (fieldIndex < 0 || fieldIndex >= fieldCount())
        throw DataSetError("Field index out of range");
    if (!pending_)
        throw DataSetError("Dataset not in edit or insert mode");
    if (isComputedField(fieldIndex))
        throw DataSetError("Field '" + names_[fieldIndex] + "' cannot be modified");
    const int stored = storedIndex(fieldIndex);
    pending_->values[stored] = std::string(clip(text, widths_[stored]));
    notify({DataEventKind::FieldChanged, DataEvent::npos, fieldIndex});
}

const char *MemTable::copyToArena(std::string_view bytes)
{
    if (bytes.empty())
        return "";
    if (arenaSize_ - arenaUsed_ < bytes.size() || arena_.empty()) {
        const std::size_t size = std::max(kArenaBlock, bytes.size());
        arena_.push_back(std::make_unique<char[]>(size));
        arenaSize_ = size;
        arenaUsed_ = 0;
    }
    char *target = arena_.back().get() + arenaUsed_;
    std::memcpy(target, bytes.data(), bytes.size());
    arenaUsed_ += bytes.size();
    return target;
}

void MemTable::storeRecord(std::size_t row, const std::vector<std::string> &values, bool isNew)
{
    const std::size_t n = widths_.size();
    // The index finds an entry through the record's stored key, so an edited record leaves the
    // index before its bytes change and comes back under its new key.
    if (keyIndex_ && !isNew)
        keyIndex_->erase(recIds_[row], storedValue(row, keyField_));
    std::string bytes;
    for (std::size_t k = 0; k < n; ++k) {
        if (k)
            bytes.push_back('\t');
        bytes += values[k];
        lens_[row * n + k] = static_cast<std::uint16_t>(values[k].size());
    }
    data_[row] = copyToArena(bytes);
    clean_[row] = isClean(bytes, n) ? 1 : 0;
    if (keyIndex_)
        keyIndex_->insert(recIds_[row], storedValue(row, keyField_));
}

Bookmark MemTable::getBookmark() const noexcept
{
    if (current_ == npos)
        return {};
    return {generation_, recIds_[current_]};
}

std::size_t MemTable::rowOfRecId(std::uint32_t id) const noexcept
{
    const auto it = std::lower_bound(recIds_.begin(), recIds_.end(), id);
    if (it == recIds_.end() || *it != id)
        return npos;
    return static_cast<std::size_t>(it - recIds_.begin());
}

void MemTable::gotoBookmark(const Bookmark &bookmark)
{
    if (bookmark.isEmpty())
        return;
    const std::size_t row = bookmark.generation == generation_ ? rowOfRecId(bookmark.recId) : npos;
    if (row == npos)
        throw DataSetError("Bookmark not found");
    moveTo(row);
}

std::size_t MemTable::findKey(std::string_view key) const
{
    if (!keyIndex_)
        throw DataSetError("The table has no key field");
    return keyIndex_->find(key);
}

bool MemTable::locateKey(std::string_view key)
{
    requireOpen();
    const std::size_t row = findKey(key);
    if (row == npos)
        return false;
    moveTo(row);
    return true;
}

void MemTable::resumeNotifications()
{
    if (suspend_ == 0)
        return;
    if (--suspend_ == 0)
        notify({DataEventKind::DataSetChanged});
}

void MemTable::notify(const DataEvent &event)
{
    if (suspend_ == 0)
        deliver(event);
}

void MemTable::deliver(const DataEvent &event)
{
    // A view may unbind itself while handling an event, so walk a copy.
    const std::vector<DataSource *> sources = sources_;
    for (DataSource *source : sources)
        source->deliver(event);
}

void MemTable::attach(DataSource *source)
{
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
        sources_.push_back(source);
}

void MemTable::detach(DataSource *source) noexcept
{
    std::erase(sources_, source);
}

std::string_view MemTable::recordBytesAt(std::size_t row) const noexcept
{
    const std::size_t n = widths_.size();
    const std::uint16_t *lens = lens_.data() + row * n;
    std::size_t size = n ? n - 1 : 0;
    for (std::size_t k = 0; k < n; ++k)
        size += lens[k];
    return {data_[row], size};
}

std::string_view MemTable::recordBytes(std::size_t row) const
{
    if (row >= data_.size())
        throw DataSetError("Record index out of range");
    return recordBytesAt(row);
}

void MemTable::reserve(std::size_t records)
{
    ReserveLarge(clean_, records);
    ReserveLarge(data_, records);
    ReserveLarge(lens_, records * widths_.size());
    ReserveLarge(recIds_, records);
}

void MemTable::adoptStorage(std::unique_ptr<char[]> buffer, std::size_t size)
{
    adoptedBegin_ = buffer.get();
    adoptedEnd_ = buffer.get() + size;
    adopted_.push_back(std::move(buffer));
}

void MemTable::appendStored(std::span<const std::string_view> values, bool knownClean)
{
    requireOpen();
    if (pending_)
        throw DataSetError("Dataset in edit or insert mode");
    const std::size_t n = widths_.size();
    const std::size_t row = data_.size();
    lens_.resize(lens_.size() + n);
    std::uint16_t *lens = lens_.data() + row * n;

    // Values that already stand as "v0\tv1\t..." inside the adopted buffer, each within its
    // width and free of NUL, are kept where they are; anything else is copied compactly.
    bool inPlace = values.size() == n && n > 0 && values[0].data() >= adoptedBegin_ &&
                   values[n - 1].data() + values[n - 1].size() <= adoptedEnd_;
    for (std::size_t k = 0; inPlace && k < n; ++k) {
        if (values[k].size() > static_cast<std::size_t>(widths_[k]) ||
            (k + 1 < n && values[k + 1].data() != values[k].data() + values[k].size() + 1))
            inPlace = false;
    }
    if (inPlace) {
        const std::size_t span = static_cast<std::size_t>(values[n - 1].data() +
                                                          values[n - 1].size() - values[0].data());
        inPlace = std::memchr(values[0].data(), 0, span) == nullptr;
    }
    if (inPlace) {
        for (std::size_t k = 0; k < n; ++k)
            lens[k] = static_cast<std::uint16_t>(values[k].size());
        data_.push_back(n ? values[0].data() : "");
    } else {
        std::string bytes;
        for (std::size_t k = 0; k < n; ++k) {
            const std::string_view v =
                k < values.size() ? clip(values[k], widths_[k]) : std::string_view();
            if (k)
                bytes.push_back('\t');
            bytes += v;
            lens[k] = static_cast<std::uint16_t>(v.size());
        }
        data_.push_back(copyToArena(bytes));
        knownClean = isClean(bytes, n);
    }
    if (!knownClean && inPlace)
        knownClean = isClean(recordBytesAt(row), n);
    clean_.push_back(knownClean ? 1 : 0);
    recIds_.push_back(nextRecId_++);
    ++changes_;
    if (keyIndex_)
        keyIndex_->invalidate();
}

}  // namespace kit
