#include "windows/countries.h"
#include "windows/windows_fixture.h"

#include <cstring>
#include <set>

TEST(CountryList, SortedByCharacterCodesUniqueAndKeptInStepInTheCombos) {
    const auto& list = CountryList();
    std::set<std::string> codes;
    for (int i = 0; i < kCountryCount; ++i) {
        codes.insert(list[i].Code);
        EXPECT_TRUE(i == 0 || std::strcmp(list[i - 1].Name, list[i].Name) < 0) << list[i].Name;
    }
    EXPECT_EQ(std::tuple(codes.size(), CountryIndexOfCode(QString()), CountryIndexOfCode("de")),
              std::tuple(size_t(kCountryCount), 0, -1)); // codes match with their case
    QComboBox names, codeBox;
    FillCountryCombos(&names, &codeBox);
    ASSERT_EQ(codeBox.count(), kCountryCount);
    names.show();
    QTest::keyClick(&names, Qt::Key_End);
    QTest::keyClick(&names, Qt::Key_Up);
    EXPECT_EQ(names.currentText() + codeBox.currentText(), QStringLiteral("ZambiaZM"));
    EXPECT_TRUE(SelectCountryCode(&names, &codeBox, "GB") && names.currentText() == "Great Britain / UK");
    EXPECT_TRUE(!SelectCountryCode(&names, &codeBox, "XX") && codeBox.currentText() == "GB"); // it stays
    EXPECT_TRUE(SelectCountryCode(&names, &codeBox, QString()) && names.currentIndex() == 0);
}
