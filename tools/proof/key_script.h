#pragma once
// The keys a playtest pressed, written in the key script format of
// `krvtool run --script` (docs/headless-runs.md), with comments that say
// where the player was going and what it answered.

#include <string>
#include <vector>

#include "framework/headless/headless.h"
#include "proof/pilot.h"

// The script's text: every key action in the order it was delivered, the
// notes before the actions of their iteration, and an `end` at the last
// iteration so a replay stops where the game did.
std::string keyScriptText(const std::vector<HeadlessBackend::KeyAction>& played,
                          const std::vector<ScriptNote>& notes, int lastIteration,
                          const std::string& header);

// The script's name for a scan code: the key name a script reads back to
// the same code.
std::string scriptKeyName(int scanCode);
