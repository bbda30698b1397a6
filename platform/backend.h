// The back-end contract: what a back end supplies so the game runs on it, in
// one place (platform/README.md, "The back-end contract", walks through it).
//
// The game calls Win32, Direct3D 9, DirectInput 8, DirectSound 8 and winmm by
// their Windows names. On Windows the system supplies them; elsewhere the
// shared folders supply most of them and the back end (desktop/, web/) the
// rest, over the functions in namespace `backend` below. A back end defines
// those with qualified names (`DWORD backend::MessageTicks() {...}`), so a
// definition whose signature strays from this header does not compile.
//
// The Windows-named entry points, grouped, with who supplies them where
// Windows is absent (their declarations are platform/declarations/*.h, which
// a back end includes as <windows.h>, <d3d9.h>, ...):
//
//   windows        CreateWindowExW, DestroyWindow, UpdateWindow       win32/ (window pool)
//                  ShowWindow, EnumDisplaySettingsW                   the back end
//   messages       PeekMessageW, PostMessageW, PostQuitMessage,
//                  TranslateMessage, DispatchMessageW, DefWindowProcW win32/ (message queue)
//   window classes RegisterClassExW, UnregisterClassW                 win32/
//   mouse          SetCapture, ShowCursor                             the back end
//   errors         GetLastError, SetLastError, FormatMessageW         win32/
//   files, module  GetFileAttributesW, GetFullPathNameW,
//                  GetModuleHandleW, GetModuleFileNameW, FindResourceW,
//                  LoadResource, SizeofResource, LockResource, Sleep  posix/
//   multimedia     mmioOpenW, mmioClose, mmioRead, mmioSeek,
//                  mmioGetInfo, mmioSetInfo, mmioAdvance,
//                  mmioDescend, mmioAscend                            posix/
//   Direct3D 9     Direct3DCreate9 (its CreateDevice makes a GlDevice) the back end
//   D3DX           D3DXCreateEffectFromFileW,
//                  D3DXCreateTextureFromFileW                         gl/ (on Windows, windows/)
//                  D3DXCreateTexture, the four matrix functions       shared/ (Windows too)
//   DirectInput 8  DirectInput8Create (devices: dinput/'s over a
//                  ControllerSource)                                  the back end
//   DirectSound 8  DirectSoundCreate8                                 dsound/
//
// And from the shared folders, for the back end to call: PaceFrame() right
// after Present hands a frame over (shared/frame_pacer.h), PushMessage and
// the queue's other helpers (win32/message_queue.h), SetLastErrorWithReason
// (win32/last_error.h), GlDevice, HoldContext and DropContext
// (gl/gl_device.h, gl/gl_object.h), NewControllerDevice and
// CheckDirectInputCreate (dinput/controller_device.h).
#pragma once

#include <windows.h>

struct GlContext;
struct PaceClock;
struct WindowRecord;

namespace backend {

// ---- Every back end, Windows included ----------------------------------

// What the Direct3D device is made on, as start-up failures name it:
// "OpenGL 3.3 core", "WebGL 2", "Direct3D 9".
const char* DeviceRequirement();

// The frame limiter's clock (shared/frame_pacer.h): monotonic nanoseconds and
// a sleep to a time on it. Present calls PaceFrame(), which waits on it.
const PaceClock& SystemPaceClock();

// ---- Back ends that lack Windows (desktop, web) --------------------------

// The window pool (win32/window_pool.h) runs the windows; the back end owns
// the array of kWindowCapacity HWND__ records, each a WindowRecord followed
// by what the back end keeps beneath a window, and hands out each slot's
// handle and its record.
HWND WindowAt(int slot);
WindowRecord& WindowRecordAt(int slot);
// Makes what shows the new window, hidden; false with the last error set. The
// window's record is not live yet.
bool OpenNativeWindow(HWND window, LPCWSTR title, int x, int y, int width, int height);
// Undoes OpenNativeWindow, after the window procedure has had WM_DESTROY.
void CloseNativeWindow(HWND window);

// The message queue (win32/message_queue.h): the time stamp of a message in
// milliseconds since the back end started, and refilling the empty ring from
// the back end's input events.
DWORD MessageTicks();
void RefillMessages();

// The Direct3D device on GL (gl/gl_object.h): the back end's window and
// context behind a GlContext, the drawable's size in pixels, showing a
// finished frame (and pacing it), and destroying the context.
struct GlNativeContext;
void GlDrawableSize(const GlContext& context, int* width, int* height);
void GlSwapBuffers(const GlContext& context);
void DestroyGlNativeContext(GlNativeContext* native);

// The sound output: SoundOutput::Open and ~SoundOutput
// (dsound/dsound_objects.h), member functions the compiler checks as they are.

}  // namespace backend
