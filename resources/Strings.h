#pragma once

#include "framework/commands/StringTable.h"

#include <span>

// Every string of the user interface, in ascending id order.
std::span<const StringResource> StringResources();
