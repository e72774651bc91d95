#pragma once

#include "framework/commands/MenuTable.h"

#include <span>

// The entries of menu resource `menuId` (128, 119 or 200); empty for others.
std::span<const MenuEntry> MenuResource(unsigned menuId);
