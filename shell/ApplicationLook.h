#pragma once

class VisualStyles;

// Applies the visual style of command `id` to `styles`:
//   210 Windows 2000, 211 Office XP, 212 Windows XP, 213 Office 2003,
//   214 Visual Studio 2005, 215..218 Office 2007 blue, black, silver, aqua;
//   any other id (a stored value can be anything): Office 2007 in the colours
//   in force.
void ApplyApplicationLook(VisualStyles& styles, unsigned id);
