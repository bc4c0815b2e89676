#pragma once
// The door into the PDF module that hexzwirbel-cli loads only for "sheet --pdf": the module
// brings Qt Gui along, which the tool's other commands never load, so they start as fast as
// before. Plain C across the door: the tool carries its own C++ run-time library, the module
// uses the system's, so no C++ object passes between them.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// A picture: width x height pixels, 3 bytes (red, green, blue) each, row by row.
struct HzSheetPicture {
    int width;
    int height;
    const unsigned char* rgb;
};

struct HzSheetPdfInput {
    const char* html;  // UTF-8, pictures referred to as <img src="bild:N">
    const char* title; // UTF-8, for the PDF's properties
    const struct HzSheetPicture* pictures;
    size_t count;
};

// Receives the bytes of the PDF, or (on failure) a German message.
typedef void (*HzSheetPdfSink)(void* context, const char* data, size_t size);

// Lays out the sheet into a PDF without a display (the "offscreen" platform). 0: `sink` got
// the PDF; otherwise `sink` got the reason.
int hz_sheet_pdf(const struct HzSheetPdfInput* input, HzSheetPdfSink sink, void* context);

// The name the tool looks the function up by.
#define HZ_SHEET_PDF_FUNCTION "hz_sheet_pdf"

#ifdef __cplusplus
}
#endif
