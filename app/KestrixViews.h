#pragma once
// The three views of a song document: chord grid, lead sheet and bass
// tablature.
#include "views/ChordEditView.h"
#include "views/KestrixView.h"
#include "views/OstrelView.h"
