// The shared warning capture and error-message helper, by their short names.
#pragma once

#include "support/test_helpers.h"

using testsupport::errorOf;
using testsupport::WarningCapture;
