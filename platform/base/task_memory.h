#pragma once
// Memory that one side allocates and the other frees: blocks a platform call hands to its caller (the folder
// browser's id list) are freed with CoTaskMemFree, whichever part of the program holds them last.

#include <cstddef>

void* CoTaskMemAlloc(size_t size);  // null when the memory is not there
void CoTaskMemFree(void* block);    // null does nothing
