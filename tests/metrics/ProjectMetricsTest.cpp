// The project measures and the chart table: project order and labels, file types, files that cannot be
// read, the cursor left alone, and the checks before a chart is built.
#include <gtest/gtest.h>

#include "metrics/ProjectCharts.h"
#include "metrics/ProjectMetrics.h"
#include "project/ProjectReader.h"
#include "support/TempDir.h"

#include <filesystem>

namespace kemptor {
namespace {

using test::TempDir;

// A VBP project in a temporary directory naming the given modules, each written with its text.
class MetricsProject : public ::testing::Test {
protected:
    void Write(const std::vector<std::pair<std::string, std::string>>& files) {
        std::string vbp = "Type=Exe\r\n";
        for (const auto& [name, text] : files) {
            dir_.Write(name, text);
            vbp += "Module=M; " + name + "\r\n";
        }
        dir_.Write("p.vbp", vbp);
        ProjectReaderObserver observer;
        ASSERT_TRUE(OpenProject(dir_.Path() + "p.vbp", project_, observer, prompter_)) << vbp;
    }
    std::vector<double> Values(TMeasure measure) {
        std::vector<double> values;
        for (const auto& point : MeasurePoints(*project_, measure))
            values.push_back(point.Value);
        return values;
    }

    TempDir dir_;
    ScriptedPrompter prompter_;
    std::unique_ptr<TSourceMgt> project_;
};

TEST_F(MetricsProject, PerFileMeasuresFollowProjectOrderWithFileNames) {
    const std::string b = "Public Sub A()\r\nEnd Sub\r\nGlobal x, y\r\n";
    const std::string a = "' c\r\nx = 1\r\n\r\nPrivate Function F()\r\nEnd Function\r\nFriend Sub S()\r\n";
    Write({{"b.bas", b}, {"a.bas", a}});
    const auto points = MeasurePoints(*project_, TMeasure::Routines);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], (TMetricPoint{1, "b.bas"}));
    EXPECT_EQ(points[1], (TMetricPoint{2, "a.bas"}));
    EXPECT_EQ(Values(TMeasure::Globals), (std::vector<double>{2, 0}));
    EXPECT_EQ(Values(TMeasure::LinesOfCode), (std::vector<double>{3, 6}));
    EXPECT_EQ(Values(TMeasure::FileSize), (std::vector<double>{double(b.size()), double(a.size())}));
    EXPECT_EQ(Values(TMeasure::Comments), (std::vector<double>{0, 25})); // 1 comment, 4 code lines
    EXPECT_EQ(Values(TMeasure::Whitespace), (std::vector<double>{0, 25}));
    // The measures leave the project as they found it: nothing loaded, the cursor where it was.
    for (const auto& entry : project_->Files())
        EXPECT_FALSE(entry.Loaded);
    EXPECT_EQ(project_->Current->Next, nullptr);
}

TEST_F(MetricsProject, FileTypesGroupExtensionsIgnoringCaseLabelledAsFirstWritten) {
    Write({{"one.Bas", "x\r\n"},
           {"two.frm", "x\r\n"},
           {"three.BAS", "x\r\n"},
           {"README", "x\r\n"},
           {"four.cls", "x\r\n"}});
    const auto points = MeasurePoints(*project_, TMeasure::FileType);
    const TMetricPoints expected{{1, ""}, {2, ".Bas"}, {1, ".cls"}, {1, ".frm"}};
    EXPECT_EQ(points, expected);
}

TEST_F(MetricsProject, AFileThatCannotBeReadIsMinusOneInEveryMeasure) {
    Write({{"gone.bas", "Sub A()\r\n"}, {"here.bas", "Sub B()\r\n"}});
    std::filesystem::remove(dir_.Path() + "gone.bas");
    EXPECT_EQ(Values(TMeasure::Routines), (std::vector<double>{-1, 1}));
    for (TMeasure m : {TMeasure::Globals, TMeasure::Comments, TMeasure::Whitespace})
        EXPECT_EQ(Values(m), (std::vector<double>{-1, 0})) << MeasureName(m);
    // The size and line count read with the project stand for the file until a reading fails; then
    // they are -1 as well, and the file still counts for its type.
    for (const auto& result : AllMeasurePoints(*project_)) {
        if (result.Measure == TMeasure::FileType)
            EXPECT_EQ(result.Points, (TMetricPoints{{2, ".bas"}}));
        else
            EXPECT_EQ(result.Points[0].Value, -1) << MeasureName(result.Measure);
    }
}

TEST_F(MetricsProject, AFileMissingWhenTheProjectWasReadHasNoSizeOrLines) {
    Write({{"a.bas", "x\r\n"}});
    TSourceEntry& entry = *project_->Files().begin();
    entry.FileSize = -1; // as the reader leaves a file its search did not find
    EXPECT_EQ(Values(TMeasure::FileSize), (std::vector<double>{-1}));
    EXPECT_EQ(Values(TMeasure::LinesOfCode), (std::vector<double>{-1}));
}

TEST_F(MetricsProject, LinesLoadedByAnotherWindowStayLoaded) {
    Write({{"a.bas", "Sub A()\r\n"}});
    TSourceEntry* entry = &*project_->Files().begin();
    project_->LoadLines(entry);
    EXPECT_EQ(Values(TMeasure::Routines), (std::vector<double>{1}));
    EXPECT_TRUE(entry->Loaded);
}

TEST_F(MetricsProject, ChartChecksSayWhyNoChartIsBuilt) {
    EXPECT_FALSE(BuildChart(-1, nullptr, prompter_));
    EXPECT_FALSE(BuildChart(0, nullptr, prompter_));
    TSourceMgt empty;
    EXPECT_FALSE(BuildChart(0, &empty, prompter_));
    ASSERT_EQ(prompter_.Messages().size(), 3u);
    EXPECT_EQ(prompter_.Messages()[0].kind, PromptKind::Information);
    EXPECT_EQ(prompter_.Messages()[0].text, "Please select a chart to graph.");
    EXPECT_EQ(prompter_.Messages()[1].kind, PromptKind::Warning);
    EXPECT_EQ(prompter_.Messages()[1].text, "Source management object is empty; unable to create a graph.");
    EXPECT_EQ(prompter_.Messages()[2].text,
              "Source management object contains no code, unable to create the graph.");
}

TEST_F(MetricsProject, ChartsLeaveOutUnreadableFilesAndSaySo) {
    Write({{"a.bas", "x\r\n"}, {"b.bas", "y\r\n"}});
    std::filesystem::remove(dir_.Path() + "a.bas");
    auto chart = BuildChart(5, project_.get(), prompter_);
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->Caption, "Chart: Percent of comments vs. code");
    EXPECT_EQ(chart->Points, (TMetricPoints{{0, "b.bas"}}));
    EXPECT_EQ(chart->LeftOut, (std::vector<std::string>{"a.bas"}));
    EXPECT_EQ(LeftOutNote(chart->LeftOut), "1 file could not be read and is left out: a.bas");
    EXPECT_EQ(LeftOutNote({"1", "2", "3", "4", "5", "6", "7"}),
              "7 files could not be read and are left out: 1, 2, 3, 4, 5 and 2 more");
    EXPECT_TRUE(prompter_.Messages().empty());
}

TEST_F(MetricsProject, MorePointsThanAChartDrawsAreRefusedInWords) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i <= kMaxChartPoints; ++i)
        files.push_back({"m" + std::to_string(i) + ".x" + std::to_string(i), "x\r\n"});
    Write(files);
    EXPECT_FALSE(BuildChart(4, project_.get(), prompter_));
    EXPECT_FALSE(BuildChart(1, project_.get(), prompter_));
    ASSERT_EQ(prompter_.Messages().size(), 2u);
    EXPECT_EQ(prompter_.Messages()[0].text, "This project has 513 files; a chart shows at most 512.");
    EXPECT_EQ(prompter_.Messages()[1].text, "This project has 513 file types; a chart shows at most 512.");
}

} // namespace
} // namespace kemptor
