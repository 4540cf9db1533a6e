#include "data_source.h"

#include <algorithm>

namespace kit {

DataLink::~DataLink()
{
    setDataSource(nullptr);
}

void DataLink::setDataSource(DataSource *source)
{
    if (source_ == source)
        return;
    if (source_)
        std::erase(source_->links_, this);
    source_ = source;
    if (source_)
        source_->links_.push_back(this);
}

MemTable *DataLink::table() const noexcept
{
    return source_ ? source_->table() : nullptr;
}

DataSource::DataSource(MemTable *table)
{
    setTable(table);
}

DataSource::~DataSource()
{
    setTable(nullptr);
    for (DataLink *link : links_)
        link->source_ = nullptr;
}

void DataSource::setTable(MemTable *table)
{
    if (table_ == table)
        return;
    if (table_)
        table_->detach(this);
    table_ = table;
    if (table_)
        table_->attach(this);
    deliver({DataEventKind::DataSetChanged});
}

void DataSource::deliver(const DataEvent &event)
{
    const std::vector<DataLink *> links = links_;
    for (DataLink *link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->dataEvent(event);
}

}  // namespace kit
