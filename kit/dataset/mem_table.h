// In-memory table: an ordered list of records of fixed-width single-byte text fields, with a
// cursor, a browse/insert/edit state, bookmarks, a look-up index on a key field and change
// notifications to the views bound to it through data sources. Pure C++, no Qt.
#pragma once

#include "dataset_error.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

class DataSource;
class MemTable;

enum class DataSetState { Inactive, Browse, Insert, Edit };

// Declares one stored text field: its name and its width in bytes.
struct FieldDef {
    std::string name;
    int width = 0;
};

// What a table tells its views. `row` is a record position in table order where it applies.
enum class DataEventKind {
    DataSetChanged,  // open, close, reload, end of a suspension: re-read everything
    RecordAppended,  // a pending insert was posted; `row` is its (last) position
    RecordUpdated,   // a pending edit was posted; `row` is its position
    RecordDeleted,   // the record at `row` was removed; `recId` was its record number
    CursorMoved,     // the current record changed; `row` is the new position (npos: none)
    StateChanged,    // browse/insert/edit changed
    FieldChanged,    // a field of the pending record changed; `field` is its index
    UpdateRecord,    // post is about to store the pending record: bound editors write their
                     // text into it now. Sent even while notifications are suspended.
};

struct DataEvent {
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    DataEventKind kind;
    std::size_t row = npos;
    int field = -1;
    std::uint32_t recId = 0;
};

// Handle on a record, valid while the table stays open. Empty when taken on no record.
struct Bookmark {
    std::uint64_t generation = 0;
    std::uint32_t recId = 0;
    bool isEmpty() const noexcept { return recId == 0; }
};

// A field of a table, by index. Cheap to copy; valid while the table lives.
class Field {
public:
    Field(MemTable *table, int index) noexcept
        : table_(table)
        , index_(index)
    {}

    const std::string &name() const;
    int width() const;
    int index() const noexcept { return index_; }
    bool isComputed() const noexcept;
    // Value on the current record (the pending one while inserting or editing).
    std::string asString() const;
    void setAsString(std::string_view text);

private:
    MemTable *table_;
    int index_;
};

class MemTable {
public:
    // With `recIdFieldName` not empty the table adds a computed integer field of that name ahead
    // of the declared ones, holding each record's number. `keyField` names the field of the
    // look-up index; empty for none.
    MemTable(std::vector<FieldDef> fields, std::string keyField = {},
             std::string recIdFieldName = {});
    ~MemTable();
    MemTable(const MemTable &) = delete;
    MemTable &operator=(const MemTable &) = delete;

    // --- life cycle
    void open();   // open and empty, browse state, no current record, numbering restarts
    void close();  // records discarded, closed
    bool isOpen() const noexcept { return state_ != DataSetState::Inactive; }
    DataSetState state() const noexcept { return state_; }

    // --- fields. Field indexes count the computed record-number field first when there is one.
    int fieldCount() const noexcept { return static_cast<int>(names_.size()); }
    int storedFieldCount() const noexcept { return static_cast<int>(widths_.size()); }
    Field fieldByName(std::string_view name);  // letter case ignored; throws DataSetError
    Field field(int index) { return {this, index}; }
    int findField(std::string_view name) const noexcept;  // -1 when none
    const std::string &fieldName(int index) const { return names_.at(index); }
    int fieldWidth(int index) const;  // 0 for the computed field
    bool isComputedField(int index) const noexcept { return hasRecId_ && index == 0; }
    // Stored field index (0-based over the declared fields) of a field index, -1 for computed.
    int storedIndex(int fieldIndex) const noexcept { return fieldIndex - (hasRecId_ ? 1 : 0); }

    // --- records and cursor
    std::size_t recordCount() const noexcept { return recIds_.size(); }  // stored records only
    bool hasCurrent() const noexcept { return current_ != npos; }
    std::size_t currentRow() const noexcept { return current_; }  // npos when none
    void first();
    void next();
    bool eof() const noexcept { return eof_; }
    void moveTo(std::size_t row);  // makes a stored record current (browse state only)

    // --- editing
    void append();
    void edit();
    void post();
    void cancel();
    void deleteCurrent();
    void refresh();

    // --- values
    // Value of a stored record by position, without moving the cursor. The view stays valid
    // until the next change of the table.
    std::string_view value(std::size_t row, int fieldIndex) const;
    std::uint32_t recId(std::size_t row) const { return recIds_.at(row); }
    std::string currentValue(int fieldIndex) const;
    void setCurrentValue(int fieldIndex, std::string_view text);

    // --- bookmarks
    Bookmark getBookmark() const noexcept;
    void gotoBookmark(const Bookmark &bookmark);  // throws "Bookmark not found"
    void freeBookmark(Bookmark &bookmark) noexcept { bookmark = {}; }
    // Position of a record by its number, npos when it is gone. O(log n).
    std::size_t rowOfRecId(std::uint32_t recId) const noexcept;

    // --- key look-up: first record in table order whose key equals `key`
    bool locateKey(std::string_view key);
    std::size_t findKey(std::string_view key) const;  // npos when none; does not move

    // --- notifications
    void suspendNotifications() noexcept { ++suspend_; }
    void resumeNotifications();
    bool notificationsSuspended() const noexcept { return suspend_ > 0; }
    // Grows with every stored change (post, delete, load); tells whether a table was changed.
    std::uint64_t changeCount() const noexcept { return changes_; }
    void setLoading(bool on) noexcept { loading_ = on; }
    bool isLoading() const noexcept { return loading_; }
    void setAfterInsert(std::function<void(MemTable &)> handler)
    {
        afterInsert_ = std::move(handler);
    }

    // --- bulk loading
    // Hands the table a buffer that later `appendStored` values may point into; the table keeps
    // it for as long as it is open, so values laid out as "v0\tv1\t..." in it are kept in place.
    void adoptStorage(std::unique_ptr<char[]> buffer, std::size_t size);
    // Makes room for that many stored records, so a bulk load grows nothing.
    void reserve(std::size_t records);
    // Stores a record at the end from values in stored-field order (missing ones empty), each
    // cut to its field's width and at a NUL. Runs no handler and sends no notification of its
    // own: callers load inside a suspension. Does not move the cursor.
    // `knownClean` promises that no value holds a TAB, CR or LF (a loader that split on them).
    void appendStored(std::span<const std::string_view> values, bool knownClean = false);
    // The bytes of a stored record as "v0\tv1\t...": one record line of a TAB-separated file
    // when `recordIsClean` says that no value holds a TAB, CR or LF.
    std::string_view recordBytes(std::size_t row) const;
    bool recordIsClean(std::size_t row) const { return clean_.at(row) != 0; }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    friend class DataSource;
    friend class Field;

    struct Pending;
    class KeyIndex;

    void attach(DataSource *source);
    void detach(DataSource *source) noexcept;
    void notify(const DataEvent &event);   // unless suspended
    void deliver(const DataEvent &event);  // always
    void setCurrent(std::size_t row);
    void setState(DataSetState state);
    void requireOpen() const;
    void storeRecord(std::size_t row, const std::vector<std::string> &values, bool isNew);
    std::string_view storedValue(std::size_t row, int stored) const noexcept;
    std::string_view recordBytesAt(std::size_t row) const noexcept;
    const char *copyToArena(std::string_view bytes);
    void clearRecords() noexcept;

    std::vector<std::string> names_;  // every field, computed first
    std::vector<int> widths_;         // stored fields
    bool hasRecId_ = false;
    int keyField_ = -1;

    DataSetState state_ = DataSetState::Inactive;
    std::size_t current_ = npos;
    bool eof_ = true;
    std::uint32_t nextRecId_ = 1;
    std::uint64_t generation_ = 0;

    // Record i: bytes "v0\tv1\t...\tvN" at data_[i], the length of each stored value in
    // lens_[i * storedFieldCount() + k]. Records keep table order, so recIds_ is ascending.
    std::vector<const char *> data_;
    std::vector<std::uint16_t> lens_;
    std::vector<std::uint32_t> recIds_;
    std::vector<std::uint8_t> clean_;
    std::vector<std::unique_ptr<char[]>> arena_;
    std::size_t arenaUsed_ = 0, arenaSize_ = 0;
    std::vector<std::unique_ptr<char[]>> adopted_;
    const char *adoptedBegin_ = nullptr, *adoptedEnd_ = nullptr;
    std::unique_ptr<Pending> pending_;
    std::unique_ptr<KeyIndex> keyIndex_;

    std::uint64_t changes_ = 0;
    int suspend_ = 0;
    bool loading_ = false;
    std::function<void(MemTable &)> afterInsert_;
    std::vector<DataSource *> sources_;
};

}  // namespace kit
