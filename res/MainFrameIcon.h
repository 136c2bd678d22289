#pragma once

#include <span>

// The bytes of murmelo.ico, embedded at build time.
extern const std::span<const unsigned char> g_mainFrameIcon;
