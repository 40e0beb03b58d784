// Screenshots of the form: what the screen shows over the form window (drop-downs
// included), written as PNG through the platform's imaging component.
#pragma once

#include "fxgdi.h"

#include <string>

// Captures the screen rectangle of top and of this thread's visible popups over it and
// writes it to path as PNG; false with error set on failure.
bool SaveScreenshot(HWND top, const std::wstring& path, std::wstring& error);

// Captures a rectangle of the screen into a bitmap of its size; an empty one on failure.
CBitmap CaptureScreen(const RECT& screen);
// Writes a bitmap (not selected into any DC) to path as PNG; false with error set on failure.
bool SavePng(HBITMAP bitmap, const std::wstring& path, std::wstring& error);
