// The country list shared by the preferences and the attributes dialog.
#include "support/test_support.h"
#include "windows/countries.h"
#include "windows/qt_printers.h"

#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <cstring>
#include <set>
#include <string>

namespace {

const char* const kCodesInOrder =
    ",--,AF,AL,DZ,AS,AD,AO,AI,AQ,AG,AR,AM,AW,AC,AU,AT,AZ,BS,BH,BD,BB,BY,BE,BZ,BJ,BM,BT,BO,BA,BW,BV,BR,IO,BN,"
    "BG,"
    "BF,BI,KH,CM,CA,CV,KY,CF,TD,CL,CN,CX,CC,CO,KM,CG,CK,CR,HR,CU,CY,CZ,ZR,CD,DK,DJ,DM,DO,TP,EC,EG,SV,GQ,ER,"
    "EE,ET,"
    "FK,FO,FJ,FI,FR,FX,TF,GA,GM,GE,DE,GH,GI,GB,GR,GL,GD,GP,GU,GT,GG,GF,GN,GW,GY,HT,HM,HN,HK,HU,IS,IN,ID,IR,"
    "IQ,IE,"
    "IM,IL,IT,CI,JM,JP,JE,JO,KZ,KE,KI,KP,KR,KW,KG,LA,LV,LB,LS,LR,LY,LI,LT,LU,MO,MK,MG,MW,MY,MV,ML,MT,MH,MQ,"
    "MR,MU,"
    "YT,MX,FM,MD,MC,MN,MS,MA,MZ,MM,NA,NR,NP,AN,NL,NC,NZ,NI,NE,NG,NU,NF,MP,NO,OM,PK,PW,PA,PG,PY,PE,PH,PN,PL,"
    "PF,PT,"
    "PR,QA,RE,RO,RU,RW,LC,SM,SA,SN,SC,SL,SG,SK,SI,SB,SO,ZA,GS,SU,ES,LK,SH,PM,ST,KN,VC,SD,SR,SJ,SZ,SE,CH,SY,"
    "TJ,TW,"
    "TZ,TH,TG,TK,TO,TT,TN,TR,TM,TC,TV,UM,UG,UA,AE,UK,US,UY,UZ,VU,VA,VE,VN,VG,VI,WF,EH,WS,YE,YU,ZM,ZW";

TEST(CountryList, CodesFollowTheFixedOrderAndNamesSortByCharacterCodes) {
    const QStringList codes = QString::fromLatin1(kCodesInOrder).split(QLatin1Char(','));
    ASSERT_EQ(codes.size(), kCountryCount);
    const auto& list = CountryList();
    std::set<std::string> names;
    for (int i = 0; i < kCountryCount; ++i) {
        EXPECT_EQ(QString::fromLatin1(list[i].Code), codes[i]) << "entry " << i;
        names.insert(list[i].Name);
        if (i > 0) {
            EXPECT_LT(std::strcmp(list[i - 1].Name, list[i].Name), 0)
                << "'" << list[i - 1].Name << "' before '" << list[i].Name << "'";
        }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kCountryCount)); // no name twice

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
