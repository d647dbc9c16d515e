// The designs of the main window and the splash window.
#pragma once

#include "platform/form_design.h"

namespace quellspur {

const platform::FormDesign& MainWindowDesign();
const platform::FormDesign& SplashDesign();

}  // namespace quellspur
