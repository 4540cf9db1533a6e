// Connects views to a table: a view derives from DataLink and registers with a DataSource,
// which forwards every event of its table. A link may outlive its source and a source its table.
#pragma once

#include "mem_table.h"

#include <vector>

namespace kit {

class DataLink {
public:
    virtual ~DataLink();
    DataLink() = default;
    DataLink(const DataLink &) = delete;
    DataLink &operator=(const DataLink &) = delete;

    // Binds the link to a source (nullptr unbinds).
    void setDataSource(DataSource *source);
    DataSource *dataSource() const noexcept { return source_; }
    MemTable *table() const noexcept;

protected:
    virtual void dataEvent(const DataEvent &event) = 0;

private:
    friend class DataSource;
    DataSource *source_ = nullptr;
};

class DataSource {
public:
    explicit DataSource(MemTable *table = nullptr);
    ~DataSource();
    DataSource(const DataSource &) = delete;
    DataSource &operator=(const DataSource &) = delete;

    void setTable(MemTable *table);
    MemTable *table() const noexcept { return table_; }

private:
    friend class MemTable;
    friend class DataLink;
    void deliver(const DataEvent &event);
    void tableGone() noexcept { table_ = nullptr; }

    MemTable *table_ = nullptr;
    std::vector<DataLink *> links_;
};

}  // namespace kit
