#include "app/VersionTranslation.h"

#include <cstddef>

namespace {
const uint16_t kPrimaryMask = 0x3FF;
const uint16_t kNeutral = 0x0000;
const uint16_t kEnglishPrimary = 0x09;

int Find(const std::vector<uint16_t>& languages, bool (*match)(uint16_t, uint16_t), uint16_t wanted)
{
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (match(languages[i], wanted))
            return (int)i;
    return -1;
}
} // namespace

int ChooseVersionTranslation(const std::vector<uint16_t>& languages, uint16_t userLanguage)
{
    if (languages.empty())
        return -1;
    auto exact = [](uint16_t a, uint16_t b) { return a == b; };
    auto primary = [](uint16_t a, uint16_t b) { return (a & kPrimaryMask) == (b & kPrimaryMask); };
    int i = Find(languages, exact, userLanguage);
    if (i < 0)
        i = Find(languages, primary, userLanguage);
    if (i < 0)
        i = Find(languages, exact, kNeutral);
    if (i < 0)
        i = Find(languages, primary, kEnglishPrimary);
    return i < 0 ? 0 : i;
}
