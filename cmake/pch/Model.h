// Precompiled for the model's layer and those above it: the score's headers nearly every
// source file of theirs includes.
#include "model/CInstrumentDlg.h"
#include "model/CMetaEvent.h"
#include "model/CSystemArray.h"
#include "model/nChord.h"
#include "model/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/draw/DrawTypes.h"
