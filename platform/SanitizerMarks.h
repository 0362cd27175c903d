// Marks for the address sanitizer, when the build has it: memory held for
// reuse whose unused part reads as unaddressable, so that a read or write
// past the bytes in use is caught as if the memory were exactly that size.
// Without the sanitizer the marks do nothing.
#pragma once

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(address, length) ((void)(address), (void)(length))
#define ASAN_UNPOISON_MEMORY_REGION(address, length) ((void)(address), (void)(length))
#endif
