/* Public interface of the radio-link library tarvoDLL: product validation and
 * option-board commands carried through the radio communications server.
 * Every radio call returns 0 for success or a result code:
 *   1 not initialised (or block size / byte count unusable), 2..8 serial-port
 *   and server failures, 9..14 invalid replies, 100 server not available,
 *   200 unrecognised server failure. */
#pragma once

#include <stdint.h>

// The library's exports: visible on ELF, exported from tarvoDLL.dll and
// imported by its users on Windows.
#if defined(_WIN32) && defined(tarvoDLL_EXPORTS)
#define TARVO_API __declspec(dllexport)
#elif defined(_WIN32)
#define TARVO_API __declspec(dllimport)
#else
#define TARVO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Validates the product pair against the model table and stores the packet
 * sizes: 0 known pair, 2 known product with another model, 1 unknown product. */
TARVO_API int32_t TarvoDllInit(const char* productName, const char* modelNumber,
                               int32_t readBlockSize, int32_t writeBlockSize);
TARVO_API int32_t ReadData(int32_t port, unsigned char* destination, int32_t startAddress,
                           int32_t byteCount);
TARVO_API int32_t WriteData(int32_t port, const unsigned char* source, int32_t startAddress,
                            int32_t byteCount, int32_t resetAfter);
/* The reply body (at most 62 bytes) is copied into replyBuffer. */
TARVO_API int32_t Ping_Opt_Board(int32_t port, unsigned char* replyBuffer);
/* Writes exactly 10 bytes into esnBuffer, no terminator. */
TARVO_API int32_t Get_ESN(int32_t port, char* esnBuffer);
TARVO_API int32_t ResetRadio(int32_t port);
TARVO_API int32_t SetTestMode(int32_t port);
TARVO_API int32_t fnTarvoDLL(void);
TARVO_API extern int32_t nTarvoDLL;

#ifdef __cplusplus
}

class TARVO_API CTarvoDLL {
  public:
    CTarvoDLL();
    CTarvoDLL& operator=(const CTarvoDLL&);
};
#endif
