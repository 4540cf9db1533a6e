#include "UDM1.h"

#include "app_dir.h"
#include "data_file.h"
#include "kit/dataset/file_io.h"

#include <ctime>
#include <exception>

TDM1 *DM1 = nullptr;

std::vector<kit::FieldDef> ContactFieldDefs()
{
    return {
        {"ditta", 50},      {"reparto", 50},   {"nome", 50},      {"cellulare1", 35},
        {"cellulare2", 35}, {"telefono1", 35}, {"telefono2", 35}, {"fax1", 35},
        {"fax2", 35},       {"localita", 50},  {"provincia", 2},  {"e_mail", 60},
        {"am_daore", 5},    {"am_aore", 5},    {"pm_daore", 5},   {"pm_aore", 5},
        {"NumScad", 20},
    };
}

namespace {

// The local date and time as "yymmddhhnnss".
std::string LocalTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%y%m%d%H%M%S", &local);
    return text;
}

// "<file>.recovered", or "<file>.recovered.2", ".3" … when that one exists already.
std::string FreeRecoveryPath(const std::string &path)
{
    const std::string base = path + ".recovered";
    std::string candidate = base;
    for (int n = 2; kit::FileExists(candidate); ++n)
        candidate = base + "." + std::to_string(n);
    return candidate;
}

}  // namespace

TDM1::TDM1(std::string executablePath, ErrorReporter reportError)
    : ScadData(ContactFieldDefs(), ContactField::Key, ContactField::RecId)
    , DSScad(&ScadData)
    , executablePath_(std::move(executablePath))
    , reportError_(std::move(reportError))
{
    ScadData.setAfterInsert([this](kit::MemTable &table) { ScadDataAfterInsert(table); });
    DataModuleCreate();
}

TDM1::~TDM1()
{
    DataModuleDestroy();
}

std::string TDM1::DataFilePath() const
{
    return AppDir + DataFileName;
}

void TDM1::ScadDataAfterInsert(kit::MemTable &table)
{
    for (const char *name :
         {"ditta", "reparto", "nome", "cellulare1", "cellulare2", "telefono1", "telefono2", "fax1",
          "fax2", "localita", "provincia", "e_mail", "am_daore", "am_aore", "pm_daore", "pm_aore"})
        table.fieldByName(name).setAsString("");
    table.fieldByName(ContactField::Key).setAsString(LocalTimeStamp());
}

void TDM1::DataModuleCreate()
{
    AppDir = AppDirOf(executablePath_);
    if (ScadData.isOpen())
        ScadData.close();
    ScadData.open();
    const std::string path = DataFilePath();
    try {
        if (kit::FileExists(path)) {
            const LoadOutcome outcome = LoadDataFile(ScadData, path);
            // A file cut short by a NUL byte was read only in part: never overwrite it.
            loadFailed_ = outcome.cutShort;
        }
    } catch (const std::exception &error) {
        loadFailed_ = true;
        if (reportError_)
            reportError_(error.what());
    }
    changesAfterLoad_ = ScadData.changeCount();
}

void TDM1::DataModuleDestroy()
{
    try {
        if (loadFailed_)
            SaveAfterFailedLoad();
        else
            SaveDataFile(ScadData, DataFilePath());
    } catch (const std::exception &error) {
        if (reportError_)
            reportError_(error.what());
    }
    if (ScadData.isOpen())
        ScadData.close();
}

// The data file was not read whole, so writing the table over it would lose what was not read.
// The file stays as it is; changes made during the run go to a file beside it.
void TDM1::SaveAfterFailedLoad()
{
    if (!ScadData.isOpen() || ScadData.changeCount() == changesAfterLoad_)
        return;
    const std::string path = DataFilePath();
    const std::string side = FreeRecoveryPath(path);
    SaveDataFile(ScadData, side);
    if (reportError_)
        reportError_("Il file \"" + path +
                     "\" non è stato letto per intero e non è stato sovrascritto. "
                     "La rubrica modificata è stata salvata in \"" +
                     side + "\"");
}
