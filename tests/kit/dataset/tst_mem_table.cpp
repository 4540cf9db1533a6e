#include "kit/dataset/data_source.h"
#include "kit/dataset/mem_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using kit::DataEventKind;
using kit::DataSetState;
using kit::MemTable;

namespace {

std::vector<kit::FieldDef> fields()
{
    return {{"name", 10}, {"code", 2}, {"Key", 12}};
}

// A table with the record-number field first, so field 1 is "name", 2 "code", 3 "Key".
struct Table : ::testing::Test {
    MemTable table{fields(), "Key", "RecId"};
    int afterInsertCalls = 0;

    void SetUp() override
    {
        table.setAfterInsert([this](MemTable &t) {
            ++afterInsertCalls;
            t.fieldByName("key").setAsString("K" + std::to_string(afterInsertCalls));
        });
        table.open();
    }

    void add(const std::string &name, const std::string &key = {})
    {
        table.append();
        table.fieldByName("name").setAsString(name);
        if (!key.empty())
            table.fieldByName("Key").setAsString(key);
        table.post();
    }

    void addNames(std::initializer_list<const char *> names)
    {
        for (const char *n : names)
            add(n);
    }

    std::string names() const
    {
        std::string out;
        for (std::size_t r = 0; r < table.recordCount(); ++r)
            out += (r ? " " : "") + std::string(table.value(r, 1));
        return out;
    }

    std::string current() const { return table.currentValue(1); }
};

// Records every event a bound view would receive, as "Kind:row" words.
class Recorder : public kit::DataLink {
public:
    std::vector<std::string> events;

protected:
    void dataEvent(const kit::DataEvent &e) override
    {
        static const char *kNames[] = {"Reset", "Appended", "Updated", "Deleted",
                                       "Moved", "State",    "Field",   "Update"};
        std::string s = kNames[static_cast<int>(e.kind)];
        if (e.row != kit::DataEvent::npos)
            s += ":" + std::to_string(e.row);
        events.push_back(s);
    }
};

}  // namespace

TEST_F(Table, OpenIsEmptyBrowseWithNoCurrentRecord)
{
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_FALSE(table.hasCurrent());
    table.first();
    EXPECT_TRUE(table.eof());
    table.close();
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(table.state(), DataSetState::Inactive);
}

TEST_F(Table, PostAfterAppendStoresAtTheEndAndMakesItCurrent)
{
    addNames({"A", "B", "C", "D", "E"});
    table.moveTo(2);
    table.append();
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_EQ(table.recordCount(), 5u) << "a pending record is not counted";
    table.fieldByName("name").setAsString("F");
    table.post();
    EXPECT_EQ(names(), "A B C D E F");
    EXPECT_EQ(table.currentRow(), 5u);
    EXPECT_EQ(table.state(), DataSetState::Browse);
}

TEST_F(Table, CancelAfterAppendMakesTheLastRecordCurrent)
{
    addNames({"A", "B", "C", "D", "E"});
    table.moveTo(2);
    table.append();
    table.cancel();
    EXPECT_EQ(table.recordCount(), 5u);
    EXPECT_EQ(current(), "E");
    table.cancel();  // browse: nothing happens
    EXPECT_EQ(current(), "E");
}

TEST_F(Table, CancelOfAnAppendOnAnEmptyTableLeavesNoCurrentRecord)
{
    table.append();
    table.cancel();
    EXPECT_FALSE(table.hasCurrent());
}

TEST_F(Table, DeleteMakesTheFollowingOrTheNewLastRecordCurrent)
{
    addNames({"A", "B", "C"});
    table.moveTo(1);
    table.deleteCurrent();
    EXPECT_EQ(names(), "A C");
    EXPECT_EQ(current(), "C");
    table.deleteCurrent();
    EXPECT_EQ(current(), "A") << "deleting the last record makes the new last one current";
    table.deleteCurrent();
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_FALSE(table.hasCurrent());
    EXPECT_THROW(table.deleteCurrent(), kit::DataSetError);
}

TEST_F(Table, RecordNumbersAreUsedUpOnlyByPostsAndNeverReused)
{
    addNames({"A", "B", "C"});
    EXPECT_EQ(table.recId(2), 3u);
    table.append();
    table.cancel();  // uses up no number
    add("D");
    EXPECT_EQ(table.recId(3), 4u);
    EXPECT_EQ(table.currentValue(0), "4");
    table.deleteCurrent();
    add("E");
    EXPECT_EQ(table.recId(3), 5u);
    table.close();
    table.open();
    add("F");
    EXPECT_EQ(table.recId(0), 1u) << "opening again restarts the numbering";
}

TEST_F(Table, BookmarksFollowTheirRecordAndFailOnceItIsDeleted)
{
    kit::Bookmark none = table.getBookmark();
    EXPECT_TRUE(none.isEmpty());
    EXPECT_NO_THROW(table.gotoBookmark(none));

    addNames({"A", "B", "C"});
    table.moveTo(2);
    kit::Bookmark c = table.getBookmark();
    table.moveTo(0);
    kit::Bookmark a = table.getBookmark();
    table.deleteCurrent();  // C moves from position 2 to 1
    table.gotoBookmark(c);
    EXPECT_EQ(current(), "C");
    EXPECT_EQ(table.currentRow(), 1u);
    try {
        table.gotoBookmark(a);
        FAIL() << "going to a deleted record's bookmark must fail";
    } catch (const kit::DataSetError &e) {
        EXPECT_STREQ(e.what(), "Bookmark not found");
    }
    table.freeBookmark(c);
    EXPECT_TRUE(c.isEmpty());
}

TEST_F(Table, FirstNextAndTheEndFlag)
{
    addNames({"A", "B"});
    std::string seen;
    for (table.first(); !table.eof(); table.next())
        seen += current();
    EXPECT_EQ(seen, "AB");
    EXPECT_EQ(current(), "B") << "the cursor stays on the last record";
}

TEST_F(Table, FieldsAreFoundWithoutRegardToCase)
{
    EXPECT_EQ(table.fieldByName("KEY").index(), table.fieldByName("key").index());
    EXPECT_EQ(table.fieldByName("Name").name(), "name");
    EXPECT_TRUE(table.fieldByName("recid").isComputed());
    EXPECT_THROW(table.fieldByName("nome "), kit::DataSetError);
    EXPECT_THROW(table.fieldByName("missing"), kit::DataSetError);
}

TEST_F(Table, TextIsCutToTheWidthAndAtANul)
{
    table.append();
    table.fieldByName("name").setAsString("ABCDEFGHIJKLMN");
    table.fieldByName("code").setAsString(std::string("X\0Y", 3));
    table.post();
    EXPECT_EQ(table.value(0, 1), "ABCDEFGHIJ");
    EXPECT_EQ(table.value(0, 2), "X");
    EXPECT_THROW(table.fieldByName("name").setAsString("Z"), kit::DataSetError)
        << "setting is allowed only in insert or edit state";
    EXPECT_THROW(table.fieldByName("RecId").setAsString("9"), kit::DataSetError);
}

TEST_F(Table, EditKeepsStoredValuesUntilPostAndCancelDropsTheChange)
{
    addNames({"A", "B"});
    table.moveTo(0);
    table.edit();
    table.fieldByName("name").setAsString("Z");
    EXPECT_EQ(table.value(0, 1), "A");
    EXPECT_EQ(current(), "Z");
    table.cancel();
    EXPECT_EQ(current(), "A");
    table.edit();
    table.fieldByName("name").setAsString("Y");
    table.post();
    EXPECT_EQ(names(), "Y B");
    EXPECT_EQ(table.currentRow(), 0u);
    EXPECT_THROW(table.post(), kit::DataSetError) << "posting in browse state is an error";
}

TEST_F(Table, EditOnAnEmptyTableStartsAnInsert)
{
    table.edit();
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_EQ(afterInsertCalls, 1);
}

TEST_F(Table, LoadingModeRunsNoHandler)
{
    table.setLoading(true);
    table.append();
    table.post();
    table.setLoading(false);
    EXPECT_EQ(afterInsertCalls, 0);
    EXPECT_EQ(table.value(0, 3), "");
}

TEST_F(Table, KeyLookUpFindsTheFirstRecordInTableOrder)
{
    add("A", "240305140709");
    add("B", "240305140710");
    add("C", "240305140709");
    EXPECT_TRUE(table.locateKey("240305140709"));
    EXPECT_EQ(current(), "A");
    table.moveTo(0);
    table.deleteCurrent();
    EXPECT_TRUE(table.locateKey("240305140709"));
    EXPECT_EQ(current(), "C");
    table.moveTo(1);
    EXPECT_FALSE(table.locateKey("nothing"));
    EXPECT_EQ(current(), "C") << "a failed look-up leaves the current record";

    // The index follows edits of the key and appends after it was built.
    table.edit();
    table.fieldByName("Key").setAsString("NEW");
    table.post();
    add("D", "240305140709");
    EXPECT_EQ(table.findKey("240305140709"), 2u);
    EXPECT_EQ(table.findKey("NEW"), 1u);
    EXPECT_EQ(table.findKey("240305140710"), 0u);
}

// Keys that agree on their first 8 or 16 bytes, that are prefixes of one another, that differ
// only in a byte above 127, or that repeat: a look-up finds what a walk in table order finds.
TEST(KeyIndex, AgreesWithAWalkInTableOrder)
{
    MemTable table({{"name", 4}, {"Key", 24}}, "Key", "");
    table.open();
    const std::string accented = "\xE8"
                                 "ABCDEFGH";
    const std::vector<std::string> keys = {
        "ABCDEFGH12345678Z",
        "ABCDEFGH12345678",
        "ABCDEFGH12345678A",
        "ABCDEFGH",
        "ABCDEFGHI",
        "ABCDEFG",
        accented,
        "eABCDEFGH",
        "ABCDEFGH12345679",
        "ABCDEFGH12345678",
        "",
        "ABCDEFGH12345678Z",
    };
    for (const std::string &key : keys) {
        table.append();
        table.fieldByName("Key").setAsString(key);
        table.post();
    }
    for (const std::string &key : keys) {
        const std::size_t first = std::find(keys.begin(), keys.end(), key) - keys.begin();
        EXPECT_EQ(table.findKey(key), first) << key;
    }
    EXPECT_EQ(table.findKey("ABCDEFGH1234567"), MemTable::npos);
    EXPECT_EQ(table.findKey("ABCDEFGH12345678B"), MemTable::npos);
}

TEST_F(Table, SuspendedNotificationsNestAndEndInOneReset)
{
    kit::DataSource source(&table);
    Recorder view;
    view.setDataSource(&source);
    table.suspendNotifications();
    table.suspendNotifications();
    add("A");
    table.resumeNotifications();
    // Only the request to editors to write their text reaches a view while suspended.
    EXPECT_EQ(view.events, std::vector<std::string>{"Update"});
    table.resumeNotifications();
    EXPECT_EQ(view.events, (std::vector<std::string>{"Update", "Reset"}));
}

TEST_F(Table, ViewsHearOfEveryChange)
{
    addNames({"A", "B"});
    kit::DataSource source(&table);
    Recorder view;
    view.setDataSource(&source);
    table.moveTo(0);
    table.deleteCurrent();
    table.append();
    table.post();
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"Moved:0", "Deleted:0", "Moved:0", "State", "Moved",
                                        "Field", "Update", "Appended:1", "State", "Moved:1"}));
}

TEST(MemTableBulk, StoredValuesAreCutAndLaidOutInPlaceOrCopied)
{
    MemTable table(fields(), "Key");
    table.open();
    std::string text = "ALPHA\tAB\tK1\nTOOLONGNAME\tAB\tK2";
    auto buffer = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), buffer.get());
    const char *p = buffer.get();
    table.adoptStorage(std::move(buffer), text.size());
    const std::string_view line1[] = {{p, 5}, {p + 6, 2}, {p + 9, 2}};
    const std::string_view line2[] = {{p + 12, 11}, {p + 24, 2}};
    table.appendStored(line1, true);
    table.appendStored(line2, true);
    EXPECT_EQ(table.recordBytes(0), "ALPHA\tAB\tK1");
    EXPECT_EQ(table.value(0, 0), "ALPHA");
    EXPECT_EQ(table.value(1, 0), "TOOLONGNAM");
    EXPECT_EQ(table.value(1, 2), "");
    EXPECT_TRUE(table.recordIsClean(1));
    EXPECT_EQ(table.findKey("K1"), 0u);

    const std::string_view dirty[] = {"A\tB", "C", "D"};
    table.appendStored(dirty);
    EXPECT_FALSE(table.recordIsClean(2));
    EXPECT_EQ(table.value(2, 0), "A\tB");
}
