// The translation of a version resource chosen for the user's language.
#include <gtest/gtest.h>

#include "app/VersionTranslation.h"

namespace {
const uint16_t kEnglishUS = 0x0409, kEnglishUK = 0x0809, kGerman = 0x0407, kSwissGerman = 0x0807,
               kFrench = 0x040C, kNeutral = 0x0000, kJapanese = 0x0411;
}

TEST(VersionTranslation, PrefersExactThenPrimaryThenNeutralThenEnglishThenFirst)
{
    EXPECT_EQ(ChooseVersionTranslation({kEnglishUS, kSwissGerman, kGerman}, kGerman), 2);
    // Same primary language, other sub-language.
    EXPECT_EQ(ChooseVersionTranslation({kFrench, kSwissGerman}, kGerman), 1);
    EXPECT_EQ(ChooseVersionTranslation({kFrench, kNeutral, kEnglishUS}, kGerman), 1);
    // Any English, also a sub-language other than the user's.
    EXPECT_EQ(ChooseVersionTranslation({kFrench, kEnglishUK}, kGerman), 1);
    EXPECT_EQ(ChooseVersionTranslation({kJapanese, kFrench}, kGerman), 0);
}

TEST(VersionTranslation, EmptyTableHasNoChoice) { EXPECT_EQ(ChooseVersionTranslation({}, kGerman), -1); }
