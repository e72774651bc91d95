#pragma once

// The "Preview" pane's picture and histogram paint themselves, so Qt alone
// would report them as roleless widgets: registers interfaces that report
// the picture as a graphic and the histogram as a chart, each with its
// accessible name and description. Once, however often called.
void InstallPreviewAccessibility();
