#include "kit/dataset/file_io.h"
#include "store/UDM1.h"
#include "store/data_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

const std::string kHeader = "ditta\treparto\tnome\tcellulare1\tcellulare2\ttelefono1\ttelefono2\t"
                            "fax1\tfax2\tlocalita\tprovincia\te_mail\tam_daore\tam_aore\tpm_daore\t"
                            "pm_aore\tNumScad";

// The example entry of the file format, as one line without its ending.
const std::string kBianchi = "BIANCHI COSTRUZIONI SRL\tAMMINISTRAZIONE\tVERDI MARIO\t333 123 45 "
                             "67\t\t011 22 33 44\t\t011 22 33 45\t\tTORINO\tTO\t\t08:30\t12:30\t"
                             "14:00\t18:00\t240305140709";

struct DataFile : ::testing::Test {
    TempDir dir;
    kit::MemTable table{ContactFieldDefs(), "NumScad", "RecId"};

    void SetUp() override { table.open(); }

    std::string path() const { return dir.path("Te02data.dat"); }

    void load(const std::string &bytes)
    {
        dir.write("Te02data.dat", bytes);
        LoadDataFile(table, path());
    }

    std::string saved()
    {
        SaveDataFile(table, path());
        return dir.read("Te02data.dat");
    }

    std::string value(std::size_t row, const char *field)
    {
        return std::string(table.value(row, table.fieldByName(field).index()));
    }

    // Every record as its values joined by "|", records joined by " / ".
    std::string records()
    {
        std::string out;
        for (std::size_t r = 0; r < table.recordCount(); ++r) {
            if (r)
                out += " / ";
            for (int f = 1; f < table.fieldCount(); ++f) {
                const auto v = table.value(r, f);
                if (!v.empty())
                    out += std::string(table.fieldName(f)) + "=" + std::string(v) + ";";
            }
        }
        return out;
    }
};

}  // namespace

TEST_F(DataFile, AnEmptyTableSavesTheHeaderLineAlone)
{
    EXPECT_EQ(saved(), kHeader + "\r\n");
}

TEST_F(DataFile, SavingAClosedTableWritesNothing)
{
    table.close();
    SaveDataFile(table, path());
    EXPECT_FALSE(kit::FileExists(path()));
}

TEST_F(DataFile, TheExampleEntryRoundTripsByteForByte)
{
    const std::string file = kHeader + "\r\n" + kBianchi + "\r\n";
    load(file);
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(value(0, "ditta"), "BIANCHI COSTRUZIONI SRL");
    EXPECT_EQ(value(0, "cellulare2"), "");
    EXPECT_EQ(value(0, "NumScad"), "240305140709");
    EXPECT_EQ(table.recId(0), 1u);
    EXPECT_EQ(table.currentRow(), 0u) << "the first record is current after a load";
    EXPECT_EQ(saved(), file);
}

TEST_F(DataFile, SaveLeavesTheTableAndItsCurrentRecordAsTheyWere)
{
    load(kHeader + "\r\nA\r\nB\r\nC\r\n");
    table.moveTo(1);
    saved();
    EXPECT_EQ(table.currentRow(), 1u);
    EXPECT_EQ(table.recordCount(), 3u);
}

TEST_F(DataFile, LoadCases)
{
    const struct {
        const char *name;
        std::string file;
        std::string expected;
    } cases[] = {
        {"header only empties the table", kHeader + "\r\n", ""},
        {"columns in another order, in capitals, some missing",
         "NOME\tDitta\tprovincia\r\nROSSI\tACME\tTORINO\r\n",
         "ditta=ACME;nome=ROSSI;provincia=TO;"},
        {"RecId and unknown columns are skipped with their values",
         "RecId\tditta\tcolore\tnome\r\n7\tACME\tblu\tROSSI\r\n", "ditta=ACME;nome=ROSSI;"},
        {"a field named twice: the later non-empty value wins",
         "nome\tditta\tNOME\r\nA\tX\tB\r\nC\tY\t\r\n", "ditta=X;nome=B; / ditta=Y;nome=C;"},
        {"fewer values leave the remaining fields empty", "ditta\treparto\tnome\r\nACME\r\n",
         "ditta=ACME;"},
        {"surplus values are ignored and the rest of the file is read",
         "ditta\tnome\r\nA\tB\tC\tD\r\nE\tF\r\n", "ditta=A;nome=B; / ditta=E;nome=F;"},
        {"a final line without an ending still counts", "ditta\r\nA\r\nB", "ditta=A; / ditta=B;"},
        {"a blank line after the last record is one more empty record", "ditta\r\nA\r\n\r\n",
         "ditta=A; / "},
        {"lone LF and lone CR end lines like CR LF", "ditta\nA\rB\r\nC\n",
         "ditta=A; / ditta=B; / ditta=C;"},
        {"a TAB at the end yields no extra value, two TABs an empty one",
         "ditta\treparto\tnome\r\nA\t\r\n\tB\t\tC\r\n", "ditta=A; / reparto=B;"},
        {"a NUL ends the text", "ditta\r\nA\r\nB\0C\r\nD\r\n"s, "ditta=A; / ditta=B;"},
        {"values are cut to their width and kept as they stand",
         "provincia\tditta\r\nTOR\t  spazi  \r\n", "ditta=  spazi  ;provincia=TO;"},
        {"bytes above 127 are kept", "ditta\r\nCAFF\xC8 \xE0\r\n", "ditta=CAFF\xC8 \xE0;"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        table.close();
        table.open();
        load(c.file);
        EXPECT_EQ(records(), c.expected);
    }
}

TEST_F(DataFile, AZeroByteFileChangesNothing)
{
    table.append();
    table.post();
    load("");
    EXPECT_EQ(table.recordCount(), 1u);
}

TEST_F(DataFile, ABlankRecordIsSavedAsSixteenTabs)
{
    load("ditta\r\n\r\n");
    EXPECT_EQ(saved(), kHeader + "\r\n" + std::string(16, '\t') + "\r\n");
}

TEST_F(DataFile, LineEndingsAreWrittenAsCrLf)
{
    load(kHeader + "\n" + kBianchi + "\r");
    EXPECT_EQ(saved(), kHeader + "\r\n" + kBianchi + "\r\n");
}

TEST_F(DataFile, TabsAndLineBreaksInsideValuesAreSavedAsBlanks)
{
    table.append();
    table.fieldByName("ditta").setAsString("A\tB");
    table.fieldByName("nome").setAsString("C\r\nD");
    table.post();
    const std::string file = saved();
    const std::string line = "A B\t\tC  D" + std::string(14, '\t') + "\r\n";
    EXPECT_EQ(file.substr(kHeader.size() + 2, 8), line.substr(0, 8));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\t'), 32);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2);
    EXPECT_EQ(value(0, "ditta"), "A\tB") << "the table itself keeps the value";
}

TEST_F(DataFile, AHeaderThatNamesNoFieldIsRefusedAndTheTableStaysEmpty)
{
    try {
        load("\"ditta\"\t\"nome\"\r\nACME\tROSSI\r\n");
        FAIL() << "expected NotADataFileError";
    } catch (const NotADataFileError &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Il file \"" + path() +
                      "\" non è un archivio della rubrica: nessuna colonna corrisponde a un campo");
    }
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_FALSE(table.notificationsSuspended());
    EXPECT_FALSE(table.isLoading());
    load("colore\r\n");  // no record lines: simply an empty directory
    EXPECT_EQ(table.recordCount(), 0u);
}

TEST_F(DataFile, AFileHeldByAWriterCannotBeOpenedAndTheTableIsUntouched)
{
    table.append();
    table.post();
    dir.write("Te02data.dat", kHeader + "\r\n");
    const int other = ::open(path().c_str(), O_RDONLY);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    try {
        LoadDataFile(table, path());
        FAIL() << "expected FileError";
    } catch (const kit::FileError &e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + path() + "\". ", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(table.recordCount(), 1u);

    // The save refuses to replace it too, and the file keeps its contents.
    try {
        SaveDataFile(table, path());
        FAIL() << "expected FileError";
    } catch (const kit::FileError &e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + path() + "\". ", 0), 0u)
            << e.what();
    }
    ::close(other);
    EXPECT_EQ(dir.read("Te02data.dat"), kHeader + "\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Te02data.dat"}) << "no temporary file left";
}

TEST_F(DataFile, AFolderThatDoesNotExistCannotBeWritten)
{
    EXPECT_THROW(SaveDataFile(table, dir.path("missing/Te02data.dat")), kit::FileError);
}

// A write that fails part-way (here: beyond the file-size limit) keeps the old file whole.
TEST_F(DataFile, AWriteThatFailsPartWayKeepsTheOldFile)
{
    const std::string old = kHeader + "\r\n" + kBianchi + "\r\n";
    dir.write("Te02data.dat", old);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        kit::MemTable big(ContactFieldDefs(), "NumScad", "RecId");
        big.open();
        for (int i = 0; i < 200; ++i) {
            big.append();
            big.fieldByName("ditta").setAsString("UNA DITTA CON UN NOME PIUTTOSTO LUNGO");
            big.post();
        }
        try {
            SaveDataFile(big, path());
        } catch (const kit::FileError &e) {
            _exit(std::string(e.what()) == "Stream write error" ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised, 2: another message";
    EXPECT_EQ(dir.read("Te02data.dat"), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Te02data.dat"});
}
