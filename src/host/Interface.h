#pragma once
// The host's core interface: the services every plug-in may ask of the application. The host
// installs one instance for the process with SetCOREInterface.

#include "host/ClassID.h"
#include "host/Color.h"
#include "host/Interval.h"
#include "host/MaxTypes.h"

class ReferenceTarget;
class Renderer;

// Directory codes for Interface::GetDir. Directories are answered with a trailing '/'.
// The plug-in configuration directory of the host installation.
constexpr int APP_PLUGCFG_DIR = 20;
// The per-machine application-data folder, shared by all users (the platform's common
// application-data folder). A code of this host interface, outside the SDK's range.
constexpr int APP_MACHINE_DATA_DIR = 0x1000;

// Message-box styles and answers.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class Interface {
public:
    virtual ~Interface() = default;

    virtual HWND GetMainWindow() = 0;
    // Quiet mode: no interactive dialogs (batch and network renders).
    virtual BOOL GetQuietMode() = 0;
    virtual TimeValue GetTime() = 0;
    virtual int GetFrameRate() = 0;  // frames per second
    // The scene's background colour at t (narrowing valid when it is animated).
    virtual Color GetBackGround(TimeValue t, Interval& valid) = 0;
    // Directory path for a directory code; an empty string for unknown codes.
    virtual const char* GetDir(int which) = 0;
    // The user's cancel request (Esc in an interactive host, Ctrl-C in ours).
    virtual BOOL GetCancel() = 0;
    virtual void SetCancel(BOOL cancel) = 0;
    // A new object of a registered class, or nullptr. The caller owns it.
    virtual ReferenceTarget* CreateInstance(SClass_ID superClass, const Class_ID& classId) = 0;
    // A new instance of the host's default scanline renderer, owned by the caller.
    virtual Renderer* CreateDefaultScanlineRenderer() = 0;
    // The renderer the host renders with now (the production renderer), or nullptr.
    virtual Renderer* GetCurrentRenderer() = 0;
    virtual void DisableSceneRedraw() = 0;
    virtual void EnableSceneRedraw() = 0;
    // Shows (or in quiet mode only records) a message box; returns the answer.
    virtual int ShowMessageBox(HWND parent, const char* text, const char* caption, UINT type) = 0;
    // Threads a render may keep busy, the caller's included; 0: one per core. A service of this
    // host interface, outside the SDK's range.
    virtual int GetRenderThreads() { return 0; }
    // Writes a warning to the host's log, without a dialog: something was repaired and work goes
    // on (a value held to its parameter's range). Any thread may call it. A service of this host
    // interface, standing for the SDK's log system; a host without a log drops the text.
    virtual void LogWarning(const char* /*text*/) {}
};

Interface* GetCOREInterface();
// Installs the process's core interface (the host does this once at start-up; tests may swap it).
void SetCOREInterface(Interface* core);

// The host application's version number, which the library reports as its own.
DWORD GetHostVersion();

// Message box through the core interface; returns 0 when no core interface is installed.
int MessageBox(HWND parent, const char* text, const char* caption, UINT type);
// A warning in the log of the core interface; nothing when none is installed.
void LogWarning(const char* text);
