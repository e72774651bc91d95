#pragma once

// Answers the window's requests on `socket` until the window closes it: one
// picture decoded per request, from the descriptor passed along with it.
// Tells the window it is ready first. The exit status: 0 when the window
// went, 1 on a message that is not a request.
int Serve(int socket);
