// Precompiled for the model's layer and those above it: the score's headers nearly every
// source file of theirs includes.
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/draw/DrawTypes.h"
