// The back-end contract: what a back end supplies so the game runs on it, in
// one place (platform/README.md, "The back-end contract", walks through it).
//
// The game calls Win32, Direct3D 9, DirectInput 8, DirectSound 8 and winmm by
// their Windows names. On Windows the system supplies them (and windows/ the
// D3DX part). Elsewhere the shared folders supply every one of them, over the
// functions in namespace `backend` below, which are all a back end (desktop/,
// web/) defines. It defines them with qualified names
// (`DWORD backend::MessageTicks() {...}`), so a definition whose signature
// strays from this header does not compile; a missing one fails to link.
//
// The Windows-named entry points by group, and the folder that supplies them
// where Windows is absent (declared in platform/declarations/*.h, included as
// <windows.h>, <d3d9.h>, ...):
//
//   windows        CreateWindowExW, DestroyWindow, ShowWindow,
//                  UpdateWindow, EnumDisplaySettingsW                 win32/ (window pool)
//   messages       PeekMessageW, PostMessageW, PostQuitMessage,
//                  TranslateMessage, DispatchMessageW, DefWindowProcW win32/ (message queue)
//   window classes RegisterClassExW, UnregisterClassW                 win32/
//   mouse          SetCapture, ShowCursor                             win32/
//   errors         GetLastError, SetLastError, FormatMessageW         win32/
//   files, module  GetFileAttributesW, GetFullPathNameW,
//                  GetModuleHandleW, GetModuleFileNameW, FindResourceW,
//                  LoadResource, SizeofResource, LockResource, Sleep  posix/
//   multimedia     mmioOpenW, mmioClose, mmioRead, mmioSeek,
//                  mmioGetInfo, mmioSetInfo, mmioAdvance,
//                  mmioDescend, mmioAscend                            posix/
//   Direct3D 9     Direct3DCreate9 and the device                     gl/
//   D3DX           D3DXCreateEffectFromFileW,
//                  D3DXCreateTextureFromFileW                         gl/ (on Windows, windows/)
//                  D3DXCreateTexture, the four matrix functions       shared/ (Windows too)
//   DirectInput 8  DirectInput8Create and the controller device       dinput/
//   DirectSound 8  DirectSoundCreate8 and the buffers                 dsound/
//
// What the shared folders give a back end to call: PaceFrame() right after
// Present hands a frame over (shared/frame_pacer.h); PushMessage,
// MessageQueueFull (win32/message_queue.h); IsLiveWindow, FirstLiveWindow,
// HoldsCapture (win32/window_pool.h); SetLastErrorWithReason
// (win32/last_error.h); the GlDirect3D base (gl/gl_direct3d.h); the
// ControllerDirectInput base, DescribeGamepad, NewControllerDevice over a
// ControllerSource (dinput/controller_device.h).
#pragma once

#include <windows.h>

class ControllerDirectInput;
class GlDirect3D;
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
// Shows or hides a live window (ShowWindow); whether it was visible before.
bool ShowNativeWindow(HWND window, bool show);
// The display's mode: ENUM_CURRENT_SETTINGS or the index of another
// (EnumDisplaySettingsW); false, with the last error set where there is a
// reason, for a mode there is not.
bool DisplayMode(DWORD modeNum, DEVMODEW* mode);

// The mouse (win32/win32_cursor.cpp): holding the pointer for a window that
// has just taken the capture (SetCapture), where the back end needs to, and
// showing or hiding the pointer over the game (ShowCursor's counter).
void CaptureMouse(HWND window);
void ShowPointer(bool shown);

// The message queue (win32/message_queue.h): the time stamp of a message in
// milliseconds since the back end started, and refilling the empty ring from
// the back end's input events.
DWORD MessageTicks();
void RefillMessages();

// The Direct3D device on GL (gl/gl_direct3d.h, gl/gl_object.h): the
// IDirect3D9 object Direct3DCreate9 hands out (null if the back end cannot
// draw at all), which makes the GL context on a window; the back end's window
// and context behind a GlContext, the drawable's size in pixels, showing a
// finished frame (and pacing it), and destroying the context.
GlDirect3D* NewGlDirect3D();
struct GlNativeContext;
void GlDrawableSize(const GlContext& context, int* width, int* height);
void GlSwapBuffers(const GlContext& context);
void DestroyGlNativeContext(GlNativeContext* native);

// The controllers (dinput/controller_device.h): the DirectInput object that
// DirectInput8Create hands out, listing the back end's controllers and
// opening each as a device over a ControllerSource; null if the back end
// cannot read controllers at all.
ControllerDirectInput* NewDirectInput();

// The sound output: SoundOutput::Open and ~SoundOutput
// (dsound/dsound_objects.h), member functions the compiler checks as they are.

}  // namespace backend
