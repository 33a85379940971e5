// The launch counts behind the search's learning (the end-to-end search shows
// a launch lift its item): how they age, that they survive a restart whatever
// the names hold, and that a bad file or a failed write costs nothing else.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "StoreFixture.h"
#include "items/LaunchHistory.h"
#include "platform/FileIO.h"

namespace {

constexpr int64_t kStart = 220000000;  // a minute in 2019

class LaunchHistoryTest : public rztest::StoreTest {
protected:
    // A history on a file of the data folder with the test's clock; failures counted.
    rz::LaunchHistory& Use(rz::LaunchHistory& h, const std::string& file = "launches.txt") {
        h.SetFile(dir / file);
        h.clock = [this] { return now; };
        h.reportFailure = [this](const std::string&, unsigned long) { ++failures; };
        h.reportTrimmed = [this](const std::string&, unsigned long) { ++trimmed; };
        return h;
    }
    int64_t now = kStart;
    int failures = 0, trimmed = 0;
};

TEST_F(LaunchHistoryTest, LaunchesAddUpAgeByHalfAMonthAndSurviveARestart) {
    const std::string hostile = rztest::U8(u8"Отчёт\t%41 100%\r\nline two");
    rz::LaunchHistory history, restarted;
    Use(history);
    for (int i = 0; i < 3; ++i) history.Record("C:\\a\\often.exe", "-x \"%1\"", "Often");
    EXPECT_DOUBLE_EQ(history.Score("C:\\a\\often.exe", "-x \"%1\"", "Often"), 3);
    now += 60 * 24 * 60;
    history.Record("C:\\b\\once.bat", hostile, hostile);
    EXPECT_EQ(history.Score("C:\\a\\often.exe", "", "Often"), 0) << "other parameters, another item";
    EXPECT_EQ(history.Score("C:\\a\\often.exe", "-x \"%1\"", "Seldom"), 0) << "another caption, another item";
    for (const rz::LaunchHistory* h : {&history, &Use(restarted)}) {
        // Three launches two half-lives ago weigh less than one today.
        EXPECT_NEAR(h->Score("C:\\a\\often.exe", "-x \"%1\"", "Often"), 0.75, 1e-9);
        EXPECT_DOUBLE_EQ(h->Score("C:\\b\\once.bat", hostile, hostile), 1);
    }
    EXPECT_EQ(failures, 0);
}

TEST_F(LaunchHistoryTest, ABadFileStartsTheCountsAfreshAndIsRebuiltAtTheNextLaunch) {
    std::mt19937 random(7);
    std::string noise(64 * 1024, '\0'), manyLines;
    for (char& c : noise) c = static_cast<char>(random());
    for (int i = 1; i <= 100000; ++i)
        manyLines +=
            std::to_string(i) + "\t" + std::to_string(kStart) + "\tC:\\p\\" + std::to_string(i) + ".exe\t\tI\n";
    const std::string valid = "2\t" + std::to_string(kStart) + "\tC:\\ok.exe\t\tOk\n";
    const struct {
        const char* name;
        std::string bytes;
        size_t kept;
    } cases[] = {
        {"random bytes", noise, 0},
        {"a hundred thousand lines: the strongest stay", manyLines, rz::LaunchHistory::kMaxItems},
        {"far too large: the strongest stay, and the log says so",
         valid + std::string(rz::LaunchHistory::kMaxFileBytes, '#'), 1},
        {"broken lines around a good one",
         "x\ty\n\t\t\t\t\n-1\t5\tC:\\n.exe\t\tN\nnan\t5\tC:\\n.exe\t\tN\n1\t5\t\t\tNo path\n1\t5\tC:\\%4\t\tBad\n" +
             valid + "1\t5\tC:\\a.exe\t\tToo\tmany\n",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rztest::WriteFile(dir / "launches.txt", c.bytes);
        rz::LaunchHistory h, reread;
        EXPECT_EQ(Use(h).Size(), c.kept);
        EXPECT_EQ(h.Score("C:\\p\\1.exe", "", "I"), 0) << "the weakest of too many stayed";
        h.Record("C:\\new.exe", "", "New");
        EXPECT_EQ(Use(reread).Size(), std::min(c.kept + 1, rz::LaunchHistory::kMaxItems));
        EXPECT_EQ(reread.Score("C:\\new.exe", "", "New"), 1);
    }
    EXPECT_EQ(failures, 0) << "a bad file is no failure to report";
    EXPECT_GE(trimmed, 1);
}

TEST_F(LaunchHistoryTest, CopiesSharingTheFileLoseNoLaunchWhenTheyWriteInAnyOrder) {
    // Another copy's 50 entries were gone after this copy's next launch.
    rz::LaunchHistory here, there, late;
    Use(here).Record("C:\\both.exe", "", "Both");
    Use(there).Record("C:\\both.exe", "", "Both");
    for (int i = 0; i < 50; ++i) there.Record("C:\\there\\" + std::to_string(i) + ".exe", "", "T");
    here.Record("C:\\here.exe", "", "Here");
    // The other copy writes just as this one is about to replace the file.
    bool once = true;
    rz::BeforeReplacing.Replace([&](const std::string&) {
        if (std::exchange(once, false)) there.Record("C:\\raced.exe", "", "Raced");
        return true;
    });
    here.Record("C:\\here.exe", "", "Here");
    rz::BeforeReplacing.Restore();
    Use(late);
    EXPECT_EQ(late.Size(), 53u);
    EXPECT_DOUBLE_EQ(late.Score("C:\\both.exe", "", "Both"), 2) << "counts of one item combine";
    EXPECT_DOUBLE_EQ(late.Score("C:\\here.exe", "", "Here"), 2);
    EXPECT_EQ(late.Score("C:\\raced.exe", "", "Raced"), 1);
    EXPECT_EQ(late.Score("C:\\there\\49.exe", "", "T"), 1);
    // What another copy wrote is seen once the file is known to have changed.
    EXPECT_EQ(here.Score("C:\\raced.exe", "", "Raced"), 1);
    there.Record("C:\\later.exe", "", "Later");
    EXPECT_EQ(here.Score("C:\\later.exe", "", "Later"), 0);
    here.FileChanged();
    EXPECT_EQ(here.Score("C:\\later.exe", "", "Later"), 1);
    EXPECT_EQ(failures, 0);
}

TEST_F(LaunchHistoryTest, AFailedWriteIsReportedOnceAndTriedAgainAtTheNextLaunch) {
    rz::LaunchHistory history, reread;
    Use(history, "gone\\launches.txt");
    history.Record("C:\\a.exe", "", "A");
    history.Record("C:\\b.exe", "", "B");
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(history.Score("C:\\a.exe", "", "A"), 1) << "the counts stay in memory";
    rztest::MakeDir(dir / "gone");
    history.Record("C:\\c.exe", "", "C");
    EXPECT_EQ(Use(reread, "gone\\launches.txt").Size(), 3u);
    EXPECT_EQ(rz::RemoveReplaceLeftovers(dir / "gone\\"), 0) << "a temporary file stayed";
    EXPECT_EQ(failures, 1);
}

}  // namespace
