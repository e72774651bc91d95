#pragma once

// A BarChartView paints its bars itself, so Qt alone would report it as a
// roleless widget: registers an interface that reports it as a list named
// by its title and described by its bars, with each bar an item ("35 mm:
// 120") that can be pressed, the current one focused. Once, however often
// called.
void InstallBarChartAccessibility();
