#include "resources/Strings.h"

#include <algorithm>
#include <iterator>

namespace {

// Command strings hold the status-bar prompt, a line feed, then the tooltip
// title. Ribbon labels may end in a line feed and their key tip.
constexpr StringResource kStrings[] = {
    {100, u"OLE initialization failed.  Make sure that the OLE libraries are the correct "
          u"version."},
    {104, u"Windows sockets initialization failed."},
    {122, u"Pane 1"},
    {123, u"Pane 2"},
    {128, u"Velmora\n\nVelmora\n\n\nVelmora.Document\nVelmora.Document"},
    {158, u"Properties"},
    {159, u"Show or hide every tag of the chosen file\nMetadata"},
    {160, u"Metadata"},
    {161, u"Show or hide the picture of the chosen file\nPreview"},
    {162, u"Preview"},
    {163, u"Show or hide the charts of the photos listed\nOverview"},
    {164, u"Overview"},
    {260, u"File"},
    {262, u"&New"},
    {263, u"&Open..."},
    {264, u"&Save"},
    {265, u"Save &As..."},
    {266, u"Print"},
    {267, u"Preview and print the document"},
    {268, u"&Quick Print"},
    {269, u"Print Pre&view"},
    {270, u"Print Set&up"},
    {271, u"&Close"},
    {272, u"Recent Documents"},
    {273, u"E&xit"},
    {274, u"&Home"},
    {275, u"Clipboard\nd"},
    {276, u"Paste\nv"},
    {277, u"Cut\nx"},
    {278, u"Copy\nc"},
    {279, u"Select All\na"},
    {286, u"Style"},
    {287, u"Modify Visual Style"},
    {288, u"Choose one of the Office 2007 themes"},
    {289, u"Status Bar"},
    {290, u"View"},
    {306, u"Edit"},
    {57344, u"Velmora"},
    {57345, u"Ready"},
    {57600, u"Create a new document\nNew"},
    {57601, u"Open an existing document\nOpen"},
    {57602, u"Close the active document\nClose"},
    {57603, u"Save the active document\nSave"},
    {57604, u"Save the active document with a new name\nSave As"},
    {57616, u"Open this document"},
    {57617, u"Open this document"},
    {57618, u"Open this document"},
    {57619, u"Open this document"},
    {57620, u"Open this document"},
    {57621, u"Open this document"},
    {57622, u"Open this document"},
    {57623, u"Open this document"},
    {57624, u"Open this document"},
    {57625, u"Open this document"},
    {57626, u"Open this document"},
    {57627, u"Open this document"},
    {57628, u"Open this document"},
    {57629, u"Open this document"},
    {57630, u"Open this document"},
    {57631, u"Open this document"},
    {57632, u"Erase the selection\nErase"},
    {57633, u"Erase everything\nErase All"},
    {57634, u"Copy the selection and put it on the Clipboard\nCopy"},
    {57635, u"Cut the selection and put it on the Clipboard\nCut"},
    {57636, u"Find the specified text\nFind"},
    {57637, u"Insert Clipboard contents\nPaste"},
    {57640, u"Repeat the last action\nRepeat"},
    {57641, u"Replace specific text with different text\nReplace"},
    {57642, u"Select the entire document\nSelect All"},
    {57643, u"Undo the last action\nUndo"},
    {57644, u"Redo the previously undone action\nRedo"},
    {57653, u"Split the active window into panes\nSplit"},
    {57664, u"Display program information, version number and copyright\nAbout"},
    {57665, u"Quit the application; prompts to save documents\nExit"},
    {57680, u"Switch to the next window pane\nNext Pane"},
    {57681, u"Switch back to the previous window pane\nPrevious Pane"},
    {59136, u"EXT"},
    {59137, u"CAP"},
    {59138, u"NUM"},
    {59139, u"SCRL"},
    {59140, u"OVR"},
    {59141, u"REC"},
    {59392, u"Show or hide the toolbar\nToggle ToolBar"},
    {59393, u"Show or hide the status bar\nToggle Status Bar"},
    {59397, u"Arrange icons on a grid."},
    {59408, u"Display items by using small icons.\nSmall Icons"},
    {59409, u"Display items by using large icons.\nLarge Icons"},
    {59410, u"Displays items in a list.\nList"},
    {59411, u"Displays detailed information about each item in the window.\nDetails"},
    {59412, u"Arranges icons in a grid."},
    {59413, u"Sorts the icons alphabetically."},
    {61184, u"Change the window size"},
    {61185, u"Change the window position"},
    {61186, u"Reduce the window to an icon"},
    {61187, u"Enlarge the window to full size"},
    {61188, u"Switch to the next document window"},
    {61189, u"Switch to the previous document window"},
    {61190, u"Close the active window and prompts to save the documents"},
    {61202, u"Restore the window to normal size"},
    {61203, u"Activate Task List"},
};

// Lookups bisect the table, so a misplaced entry must not compile.
constexpr bool StrictlyAscending() {
    return std::adjacent_find(std::begin(kStrings), std::end(kStrings),
                              [](const StringResource& a, const StringResource& b) {
                                  return a.id >= b.id;
                              }) == std::end(kStrings);
}
static_assert(StrictlyAscending(), "string table entries must be in strictly ascending id order");

} // namespace

std::span<const StringResource> StringResources() {
    return kStrings;
}
