#include "settings/locale_lang_id.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

struct LocaleCase {
    const char* locale;
    std::uint16_t langId;
};

class LocaleTable : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleTable, MapsToLangId) {
    EXPECT_EQ(LangIdFromLocale(GetParam().locale), GetParam().langId) << GetParam().locale;
}

// The territories the eight tables serve and their common variants.
INSTANTIATE_TEST_SUITE_P(Territories, LocaleTable,
                         testing::Values(LocaleCase{"en_US", 0x0409}, LocaleCase{"en_GB", 0x0809},
                                         LocaleCase{"en_AU", 0x0C09}, LocaleCase{"en_CA", 0x1009},
                                         LocaleCase{"de_DE", 0x0407}, LocaleCase{"de_AT", 0x0C07},
                                         LocaleCase{"de_CH", 0x0807}, LocaleCase{"fr_FR", 0x040C},
                                         LocaleCase{"fr_CA", 0x0C0C}, LocaleCase{"fr_BE", 0x080C},
                                         LocaleCase{"fr_CH", 0x100C}, LocaleCase{"it_IT", 0x0410},
                                         LocaleCase{"it_CH", 0x0810}, LocaleCase{"es_ES", 0x0C0A},
                                         LocaleCase{"es_MX", 0x080A}, LocaleCase{"es_AR", 0x2C0A},
                                         LocaleCase{"es_US", 0x540A}, LocaleCase{"ru_RU", 0x0419},
                                         LocaleCase{"zh_CN", 0x0804}, LocaleCase{"zh_TW", 0x0404},
                                         LocaleCase{"zh_HK", 0x0C04}, LocaleCase{"zh_SG", 0x1004},
                                         LocaleCase{"ja_JP", 0x0411}, LocaleCase{"pl_PL", 0x0415},
                                         LocaleCase{"pt_BR", 0x0416}, LocaleCase{"pt_PT", 0x0816},
                                         LocaleCase{"nl_NL", 0x0413}, LocaleCase{"nl_BE", 0x0813},
                                         LocaleCase{"sv_SE", 0x041D}, LocaleCase{"uk_UA", 0x0422},
                                         LocaleCase{"ko_KR", 0x0412}, LocaleCase{"tr_TR", 0x041F}));

// What the name may carry besides language and territory, and names that are not languages.
INSTANTIATE_TEST_SUITE_P(
    Forms, LocaleTable,
    testing::Values(LocaleCase{"de_AT.UTF-8", 0x0C07}, LocaleCase{"de_DE@euro", 0x0407},
                    LocaleCase{"de_AT.ISO-8859-15@euro", 0x0C07}, LocaleCase{"zh_TW.Big5", 0x0404},
                    LocaleCase{"zh_CN.GB18030", 0x0804}, LocaleCase{"ja_JP.eucJP", 0x0411},
                    LocaleCase{"ru_RU.KOI8-R", 0x0419}, LocaleCase{"en_GB.utf8", 0x0809},
                    LocaleCase{"EN_gb", 0x0809}, LocaleCase{"fr-CA", 0x0C0C},
                    LocaleCase{"de", 0x0407}, LocaleCase{"de.UTF-8", 0x0407},
                    LocaleCase{"fr", 0x040C}, LocaleCase{"es", 0x0C0A}, LocaleCase{"zh", 0x0804},
                    LocaleCase{"ja", 0x0411}, LocaleCase{"ru", 0x0419}, LocaleCase{"it", 0x0410},
                    LocaleCase{"pt", 0x0416}, LocaleCase{"de_BE", 0x0407},
                    LocaleCase{"ru_UA", 0x0419}, LocaleCase{"en_DK", 0x0409},
                    LocaleCase{"C", 0x0409}, LocaleCase{"POSIX", 0x0409},
                    LocaleCase{"C.UTF-8", 0x0409}, LocaleCase{"", 0x0409},
                    LocaleCase{"xx_YY", 0x0409}, LocaleCase{"_DE", 0x0409},
                    LocaleCase{"@euro", 0x0409}, LocaleCase{"deu_DE", 0x0409}));

}  // namespace
}  // namespace zv
