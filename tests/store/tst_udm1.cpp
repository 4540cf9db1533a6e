#include "kit/dataset/file_io.h"
#include "store/UDM1.h"
#include "store/app_dir.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const std::string kHeaderLine =
    "ditta\treparto\tnome\tcellulare1\tcellulare2\ttelefono1\ttelefono2\t"
    "fax1\tfax2\tlocalita\tprovincia\te_mail\tam_daore\tam_aore\t"
    "pm_daore\tpm_aore\tNumScad\r\n";

struct DataModule : ::testing::Test {
    TempDir dir;
    std::vector<std::string> errors;

    std::unique_ptr<TDM1> create()
    {
        return std::make_unique<TDM1>(dir.path("Velistra"),
                                      [this](const std::string &m) { errors.push_back(m); });
    }

    static void addEntry(TDM1 &dm, const char *company)
    {
        dm.ScadData.append();
        dm.ScadData.fieldByName("ditta").setAsString(company);
        dm.ScadData.post();
    }
};

}  // namespace

TEST(AppDirOf, IsTheFolderOfTheExecutableWithOneTrailingSeparator)
{
    EXPECT_EQ(AppDirOf("/opt/velistra/Velistra"), "/opt/velistra/");
    EXPECT_EQ(AppDirOf("/Velistra"), "/");
    EXPECT_EQ(AppDirOf("Velistra"), "/");
}

TEST(ExecutablePath, ComesFromTheSystemNotTheWorkingDirectory)
{
    const std::string path = ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(kit::FileExists(path));
}

TEST_F(DataModule, FirstRunCreatesNothingUntilShutdownWritesTheHeader)
{
    auto dm = create();
    EXPECT_EQ(AppDir, dir.dir());
    EXPECT_TRUE(dm->ScadData.isOpen());
    EXPECT_TRUE(dir.entries().empty()) << "nothing is created at start-up";
    dm.reset();
    EXPECT_EQ(dir.read("Te02data.dat"), kHeaderLine);
    EXPECT_TRUE(errors.empty());
}

TEST_F(DataModule, LoadsTheFileBesideTheExecutableAndSavesChangesAtTheEnd)
{
    dir.write("Te02data.dat", kHeaderLine + "ACME\r\n");
    auto dm = create();
    ASSERT_EQ(dm->ScadData.recordCount(), 1u);
    addEntry(*dm, "BETA");
    dm.reset();
    const std::string file = dir.read("Te02data.dat");
    EXPECT_EQ(file.substr(kHeaderLine.size(), 6), "ACME\t\t");
    EXPECT_NE(file.find("\r\nBETA\t\t"), std::string::npos);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3);
}

TEST_F(DataModule, AnAppendStartsEmptyWithTheLocalTimeAsKey)
{
    auto dm = create();
    const std::time_t before = std::time(nullptr);
    dm->ScadData.append();
    const std::time_t after = std::time(nullptr);
    const std::string key = dm->ScadData.fieldByName("numscad").asString();
    ASSERT_EQ(key.size(), 12u);
    char lo[16], hi[16];
    std::tm t{};
    std::strftime(lo, sizeof lo, "%y%m%d%H%M%S", localtime_r(&before, &t));
    std::strftime(hi, sizeof hi, "%y%m%d%H%M%S", localtime_r(&after, &t));
    EXPECT_GE(key, std::string(lo));
    EXPECT_LE(key, std::string(hi));
    EXPECT_EQ(dm->ScadData.fieldByName("ditta").asString(), "");
    dm->ScadData.cancel();
}

TEST_F(DataModule, AnUnreadableFileIsReportedAndNeverOverwritten)
{
    const std::string original = kHeaderLine + "ACME\r\n";
    dir.write("Te02data.dat", original);
    const int other = ::open(dir.path("Te02data.dat").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    auto dm = create();
    ::close(other);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Cannot open file \"" + dir.path("Te02data.dat") + "\". ", 0), 0u);
    EXPECT_TRUE(dm->ScadData.isOpen());
    EXPECT_EQ(dm->ScadData.recordCount(), 0u);
    EXPECT_TRUE(dm->LoadFailed());
    dm.reset();
    EXPECT_EQ(dir.read("Te02data.dat"), original) << "unchanged table: nothing is written";
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(DataModule, ChangesAfterAFailedLoadGoToANumberedRecoveryFile)
{
    const std::string original = "\"ditta\"\t\"nome\"\r\nACME\tROSSI\r\n";
    dir.write("Te02data.dat", original);
    dir.write("Te02data.dat.recovered", "older");
    auto dm = create();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("non è un archivio della rubrica"), std::string::npos);
    addEntry(*dm, "NUOVA");
    dm.reset();
    EXPECT_EQ(dir.read("Te02data.dat"), original);
    EXPECT_EQ(dir.read("Te02data.dat.recovered"), "older");
    EXPECT_EQ(dir.read("Te02data.dat.recovered.2").substr(0, kHeaderLine.size() + 5),
              kHeaderLine + "NUOVA");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[1].find(dir.path("Te02data.dat.recovered.2")), std::string::npos) << errors[1];
}

TEST_F(DataModule, AFileCutShortByANulIsKeptWhole)
{
    const std::string original = kHeaderLine + "A\r\nB" + std::string(1, '\0') + "C\r\nD\r\n";
    dir.write("Te02data.dat", original);
    auto dm = create();
    EXPECT_EQ(dm->ScadData.recordCount(), 2u);
    addEntry(*dm, "E");
    dm.reset();
    EXPECT_EQ(dir.read("Te02data.dat"), original);
    EXPECT_TRUE(kit::FileExists(dir.path("Te02data.dat.recovered")));
}

TEST_F(DataModule, AFailedSaveIsReportedAndTheOldFileKept)
{
    dir.write("Te02data.dat", kHeaderLine);
    auto dm = create();
    addEntry(*dm, "ACME");
    const int other = ::open(dir.path("Te02data.dat").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(other, LOCK_SH), 0);
    dm.reset();
    ::close(other);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Cannot create file \"", 0), 0u) << errors[0];
    EXPECT_EQ(dir.read("Te02data.dat"), kHeaderLine);
}
