#pragma once
// The board transport of the system the program is built for, each taking its limits (connect
// and whole-exchange seconds) the same way.

#ifdef _WIN32
#include "board/WinHttpTransport.h"
using SystemTransport = WinHttpTransport;
#else
#include "board/CurlTransport.h"
using SystemTransport = CurlTransport;
#endif
