/*
 * What the behaviour library asks of its host: the head engine, the editor
 * engines and the utility routines. Only the message sink exists so far.
 *
 * Every modal message box and information-bar text of the library goes to one
 * message sink. A host installs its own; until one does, the default sink
 * prints each text to standard error and keeps it for tests to read.
 */
#ifndef GR_PLATFORM_HOST_H
#define GR_PLATFORM_HOST_H

#if defined(__GNUC__)
#define GR_API __attribute__((visibility("default")))
#else
#define GR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* KIND is "message" for a modal message box, "error" for a runtime error
 * report, "info" for an information-bar text. */
typedef void (*GrMessageSink)(const char* kind, const char* text, void* context);

/* Installs SINK (NULL: back to the default sink). */
GR_API void GrSetMessageSink(GrMessageSink sink, void* context);
/* Shows a modal message box: the call returns once the text is delivered. */
GR_API void GrShowMessageBox(const char* text);

#ifdef __cplusplus
}
#endif

#endif
