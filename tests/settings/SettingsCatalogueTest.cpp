#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kemptor {

TEST(SettingsCatalogue, RowsAndMembersStayInStep) {
    Settings s;
    int visited = 0;
    std::set<std::string> keys;
    ForEachSetting(s, [&](const SettingDef& def, auto&) {
        ++visited;
        EXPECT_TRUE(keys.insert(def.key).second) << def.key;
    });
    EXPECT_EQ(visited, static_cast<int>(SettingsCatalogue().size()));
}

TEST(SettingsCatalogue, DefaultsMatchTheCatalogue) {
    Settings s;
    EXPECT_TRUE(s.PreviewBeforeSaving);
    EXPECT_EQ(s.AlignDimAsGroupQty, 2);
    EXPECT_EQ(s.BackupNewCodeDirectory, ".\\STYLED\\");
    EXPECT_EQ(s.InLineCommentsFixedColumn, 40);
    EXPECT_EQ(s.TabWidth, 4);
    ASSERT_NE(FindSetting("ifthenelseindent"), nullptr);
    EXPECT_EQ(ClampSetting(*FindSetting("IfThenElseIndent"), 99), 80);
    EXPECT_EQ(ClampSetting(*FindSetting("AlignDimAsGroupQty"), 0), 1);
}

} // namespace kemptor
