// The country list shared by the preferences and the attributes dialog.
#include "support/test_support.h"
#include "windows/countries.h"
#include "windows/qt_printers.h"

#include <QComboBox>
#include <QTest>
#include <cstring>
#include <set>
#include <string>

namespace {

TEST(CountryList, NamesSortByCharacterCodesAndCodesAreUnique) {
    ASSERT_EQ(kCountryCount, 248);
    const auto& list = CountryList();
    std::set<std::string> names, codes;
    for (int i = 0; i < kCountryCount; ++i) {
        names.insert(list[i].Name);
        codes.insert(list[i].Code);
        if (i > 0) {
            EXPECT_LT(std::strcmp(list[i - 1].Name, list[i].Name), 0)
                << "'" << list[i - 1].Name << "' before '" << list[i].Name << "'";
        }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kCountryCount)); // no name twice
    EXPECT_EQ(codes.size(), static_cast<size_t>(kCountryCount)); // nor a code

    EXPECT_STREQ(list[0].Name, "(none specified)");
    EXPECT_STREQ(list[1].Name, "(other)");
    const std::pair<const char*, const char*> quoted[] = {{"Afghanistan, Islamic St.", "AF"},
                                                          {"Ascension Island", "AC"},
                                                          {"Dem. Rep. of Congo", "ZR"},
                                                          {"East Timor", "TP"},
                                                          {"Great Britain / UK", "GB"},
                                                          {"Soviet Union", "SU"},
                                                          {"United Kingdom", "UK"},
                                                          {"Yugoslavia", "YU"},
                                                          {"Zimbabwe", "ZW"},
                                                          {"US Minor outlying Isl.", "UM"}};
    for (const auto& [name, code] : quoted) {
        const int index = CountryIndexOfCode(QLatin1String(code));
        ASSERT_GE(index, 0) << code;
        EXPECT_STREQ(list[index].Name, name);
    }
    EXPECT_LT(CountryIndexOfCode(QStringLiteral("UM")), CountryIndexOfCode(QStringLiteral("UG")));
    EXPECT_EQ(CountryIndexOfCode(QString()), 0);
    EXPECT_EQ(CountryIndexOfCode(QStringLiteral("de")), -1); // codes match with their case
    EXPECT_EQ(CountryIndexOfCode(QStringLiteral("XX")), -1);
}

TEST(CountryList, NameAndCodeListsKeepTheSameEntrySelected) {
    QComboBox names;
    QComboBox codes;
    FillCountryCombos(&names, &codes);
    ASSERT_EQ(names.count(), kCountryCount);
    ASSERT_EQ(codes.count(), kCountryCount);
    names.show();
    QTest::keyClick(&names, Qt::Key_End);
    EXPECT_EQ(codes.currentText(), QStringLiteral("ZW"));
    QTest::keyClick(&names, Qt::Key_Up);
    EXPECT_EQ(names.currentText(), QStringLiteral("Zambia"));
    EXPECT_EQ(codes.currentText(), QStringLiteral("ZM"));

    EXPECT_TRUE(SelectCountryCode(&names, &codes, QStringLiteral("DE")));
    EXPECT_EQ(names.currentText(), QStringLiteral("Germany"));
    EXPECT_FALSE(SelectCountryCode(&names, &codes, QStringLiteral("XX")));
    EXPECT_EQ(names.currentText(), QStringLiteral("Germany"));
    EXPECT_EQ(codes.currentText(), QStringLiteral("DE"));
    EXPECT_TRUE(SelectCountryCode(&names, &codes, QString()));
    EXPECT_EQ(names.currentIndex(), 0);
}

} // namespace
