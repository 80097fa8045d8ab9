// The library's API lock: recursive per thread and strictly first come,
// first served among waiting threads. StartLibrary, EndLibrary and
// PumpMessages take it around their whole body.
#pragma once

// Creates the lock on first use. A thread that arrives while others wait
// queues behind them even when the lock is momentarily free.
void LockLibraryCall();
// The last release of the owner hands the lock to the oldest waiter.
void UnlockLibraryCall();
// Closes the waiter events and forgets the lock; the next LockLibraryCall
// creates it again. Does nothing when it was never created.
void DestroyApiLock();
int IsApiLockCreated();
// Threads queued for the lock now.
int GetApiLockWaiterCount();
// 1 while the calling thread owns the lock.
int IsApiLockHeldByCurrentThread();
