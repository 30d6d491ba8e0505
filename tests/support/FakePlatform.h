#pragma once
// The tests' platform: the scripted desktop, which records every message with its title and
// exact text, and answers dialogs and questions from queues that the test fills.

#include "base/ScriptedPlatform.h"

namespace kestrune::testing {

using kestrune::RecordedMessage;
using kestrune::ShellCall;

class FakePlatform : public ScriptedPlatform {};

}  // namespace kestrune::testing
