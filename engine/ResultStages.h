#pragma once
// Everything the driver calls after the chroma: curves, pitch sets, bass
// notes, chord decision and post-processing.

#include "BassNotes.h"
#include "ChordDecision.h"
#include "ChordPostProcess.h"
#include "FeatureCurves.h"
#include "PitchSets.h"
