// The reader thread of a threaded PlainFile and the request handshake with
// it: one request at a time, handed over through two manual-reset events.
#pragma once

#include "core/files/plain_file.h"

DWORD FileReaderThread(void* block);
// Waits until the previous request has finished; only then may the caller
// fill the request fields.
void WaitPlainFileRequestDone(PlainFileThreadBlock* block);
// Hands the filled-in request over to the thread.
void IssuePlainFileRequest(PlainFileThreadBlock* block, DWORD command);
