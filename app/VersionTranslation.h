#pragma once
// Which translation of a version resource to read: portable.
#include <cstdint>
#include <vector>

// The index in languages (the resource's language ids, in table order) of
// the translation that suits userLanguage: the same language, else the same
// primary language, else the neutral language, else English, else the
// first; -1 for an empty table.
int ChooseVersionTranslation(const std::vector<uint16_t>& languages, uint16_t userLanguage);
