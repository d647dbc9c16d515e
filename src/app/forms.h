// The designs of the main window and the splash window.
#pragma once

#include "platform/form_spec.h"

namespace quellspur {

const platform::FormSpec& MainWindowSpec();
const platform::FormSpec& SplashSpec();

}  // namespace quellspur
