// The data module: owns the contact table, its data source and the data file's life cycle.
#pragma once

#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"

#include <functional>
#include <string>

// Field widths of a contact record, in the order of the data file's columns.
namespace ContactField {
inline constexpr const char *RecId = "RecId";
inline constexpr const char *Key = "NumScad";
}  // namespace ContactField

std::vector<kit::FieldDef> ContactFieldDefs();

class TDM1 {
public:
    // Receives the message of an error that DataModuleCreate or DataModuleDestroy met, to show it
    // to the user; both carry on afterwards.
    using ErrorReporter = std::function<void(const std::string &message)>;

    // Builds the table and the data source, then runs DataModuleCreate with the executable's
    // full path.
    TDM1(std::string executablePath, ErrorReporter reportError);
    // Runs DataModuleDestroy.
    ~TDM1();
    TDM1(const TDM1 &) = delete;
    TDM1 &operator=(const TDM1 &) = delete;

    kit::MemTable ScadData;
    kit::DataSource DSScad;

    void ScadDataAfterInsert(kit::MemTable &table);
    // Full path of the data file.
    std::string DataFilePath() const;
    // True when the data file exists but could not be read whole: it is then never overwritten.
    bool LoadFailed() const noexcept { return loadFailed_; }

private:
    void DataModuleCreate();
    void DataModuleDestroy();
    void SaveAfterFailedLoad();

    std::string executablePath_;
    ErrorReporter reportError_;
    bool loadFailed_ = false;
    std::uint64_t changesAfterLoad_ = 0;
};

extern TDM1 *DM1;
