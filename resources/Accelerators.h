#pragma once

#include "framework/commands/AcceleratorTable.h"

#include <span>

// The main frame's accelerator table (resource 128), in table order.
std::span<const Accelerator> MainFrameAccelerators();
