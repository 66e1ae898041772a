#pragma once
// The Quessel control: one COM object that carries the utility methods of _Quessel and just
// enough of the OLE control interfaces for a container to site it and draw its face.
// Every method is noexcept: failures leave as HRESULTs (with error info where a caller is told
// a number and a description), never as exceptions.
#include "controllib/quessel_interface.h"

#include <shellapi.h>

#include <atomic>
#include <string>
#include <vector>

#include "controllib/os_version.h"
#include "win32/com_ptr.h"
#include "controllib/processor_load.h"

namespace pravik::controllib {

class Quessel final : public _Quessel,
                      public ISupportErrorInfo,
                      public IProvideClassInfo2,
                      public IOleObject,
                      public IViewObject2,
                      public IOleInPlaceObject,
                      public IPersistStreamInit,
                      public IOleControl,
                      public IConnectionPointContainer {
 public:
  // Creates an instance for a class factory; the new object holds one reference.
  static HRESULT Create(REFIID iid, void** out) noexcept;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;

  // IDispatch, driven by the embedded type library
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) noexcept override;

  // ISupportErrorInfo, IProvideClassInfo2
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) noexcept override;
  STDMETHODIMP GetClassInfo(ITypeInfo** info) noexcept override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) noexcept override;

  // Window queries and actions (methods_window.cpp)
  STDMETHODIMP cForegroundWindow_Handle(LONG *result) noexcept override;
  STDMETHODIMP cForegroundWindow_FileName(BSTR *result) noexcept override;
  STDMETHODIMP cForegroundWindow_Title(BSTR *result) noexcept override;
  STDMETHODIMP cWindow_FileName(LONG *hwnd, BSTR *result) noexcept override;
  STDMETHODIMP cWindow_Title(LONG *hwnd, BSTR *result) noexcept override;
  STDMETHODIMP cONTOP_On(LONG *hwnd) noexcept override;
  STDMETHODIMP cONTOP_Off(LONG *hwnd) noexcept override;
  STDMETHODIMP cCloseButtonDisable(LONG hwnd) noexcept override;

  // Mouse (methods_mouse.cpp)
  STDMETHODIMP cMouse_LocationGet_X(LONG *result) noexcept override;
  STDMETHODIMP cMouse_LocationGet_Y(LONG *result) noexcept override;
  STDMETHODIMP cMouse_LocationSet(LONG *xPos, LONG *yPos) noexcept override;
  STDMETHODIMP cMouse_MoveMouse(LONG *xMove, LONG *yMove) noexcept override;
  STDMETHODIMP cMouse_LeftClick() noexcept override;
  STDMETHODIMP cMouse_LeftDown() noexcept override;
  STDMETHODIMP cMouse_LeftUp() noexcept override;
  STDMETHODIMP cMouse_MiddleClick() noexcept override;
  STDMETHODIMP cMouse_MiddleDown() noexcept override;
  STDMETHODIMP cMouse_MiddleUp() noexcept override;
  STDMETHODIMP cMouse_RightClick() noexcept override;
  STDMETHODIMP cMouse_RightDown() noexcept override;
  STDMETHODIMP cMouse_RightUp() noexcept override;

  // Screen and taskbar (methods_screen.cpp)
  STDMETHODIMP cScreen_Width(LONG *result) noexcept override;
  STDMETHODIMP cScreen_Height(LONG *result) noexcept override;
  STDMETHODIMP cTaskBar_Type(LONG *result) noexcept override;
  STDMETHODIMP cTask_Width(LONG *result) noexcept override;
  STDMETHODIMP cTask_Left(LONG *result) noexcept override;
  STDMETHODIMP cTask_Top(LONG *result) noexcept override;
  STDMETHODIMP cTask_Height(LONG *result) noexcept override;

  // Data conversions and text files (methods_convert.cpp, methods_text_file.cpp)
  STDMETHODIMP cDec2Hex(double *InputDec, BSTR *result) noexcept override;
  STDMETHODIMP cHex2Dec(BSTR HexData, LONG *result) noexcept override;
  STDMETHODIMP cBase64Encode(BSTR *vbstrValue, BSTR *result) noexcept override;
  STDMETHODIMP cBase64Decode(BSTR *vbstrString, BSTR *result) noexcept override;
  STDMETHODIMP cVBColor2RGB(LONG *LongData, LONG *r, LONG *G, LONG *b) noexcept override;
  STDMETHODIMP cTimeSec2HourMinSec(LONG *iSecond, BSTR *HourString, BSTR *MinString, BSTR *SecString, BSTR *result) noexcept override;
  STDMETHODIMP cString_Len(BSTR Messages, short *result) noexcept override;
  STDMETHODIMP cString_Left(BSTR *Messages, short *intLen, BSTR *result) noexcept override;
  STDMETHODIMP cString_Right(BSTR *Messages, short *intLen, BSTR *result) noexcept override;
  STDMETHODIMP cString_Mid(BSTR *Messages, short *intStr, short *intLen, BSTR *result) noexcept override;
  STDMETHODIMP cText_Open(BSTR Filename, BSTR *result) noexcept override;
  STDMETHODIMP cText_Read(BSTR Filename, BSTR *result) noexcept override;
  STDMETHODIMP cText_Load(BSTR Filename, BSTR *result) noexcept override;
  STDMETHODIMP cText_Save(BSTR Filename, BSTR TextString) noexcept override;
  STDMETHODIMP cText_Write(BSTR Filename, BSTR TextString) noexcept override;

  // System information and machine identity (methods_system_info.cpp)
  STDMETHODIMP cOS_Version1(BSTR *result) noexcept override;
  STDMETHODIMP cOS_Version2(BSTR *result) noexcept override;
  STDMETHODIMP cOS_BuildNumber(BSTR *result) noexcept override;
  STDMETHODIMP cOS_Name(BSTR *result) noexcept override;
  STDMETHODIMP cIE_Version(BSTR *result) noexcept override;
  STDMETHODIMP cLogon_UserName(BSTR *result) noexcept override;
  STDMETHODIMP cLogin_UserName(BSTR *result) noexcept override;
  STDMETHODIMP cComputer_Name(BSTR *result) noexcept override;
  STDMETHODIMP cIP(BSTR *result) noexcept override;
  STDMETHODIMP cIP_External(BSTR *result) noexcept override;
  STDMETHODIMP cCPU_Used(LONG *result) noexcept override;
  STDMETHODIMP cHDDSerialNumber(BSTR *DriveLetter, LONG *result) noexcept override;
  STDMETHODIMP cMacAddress(LONG *CardNum, BSTR *result) noexcept override;
  STDMETHODIMP cUniqueNumber(BSTR *result) noexcept override;

  // System actions and small dialogs (methods_actions.cpp)
  STDMETHODIMP cShutdownSystem(EShutDownTypes eType, VARIANT_BOOL *result) noexcept override;
  STDMETHODIMP cEndProcess(BSTR *Filename) noexcept override;
  STDMETHODIMP cVolume(LONG *Volume0to65535) noexcept override;
  STDMETHODIMP cSound_Play(BSTR *SoundFile) noexcept override;
  STDMETHODIMP cSound_Stop() noexcept override;
  STDMETHODIMP cSleep(LONG *Milliseconds) noexcept override;
  STDMETHODIMP cNewExplorer(BSTR URL) noexcept override;
  STDMETHODIMP cFileDownload(BSTR *URL, BSTR *LocalPath, VARIANT_BOOL *result) noexcept override;
  STDMETHODIMP cMsgbox_OK(BSTR *Msg, BSTR *Title, LONG *WaitSec, VARIANT_BOOL *Modal) noexcept override;
  STDMETHODIMP cMsgbox_YesNo(BSTR *Msg, BSTR *Title, LONG *WaitSec, VARIANT_BOOL *Modal, LONG *result) noexcept override;
  STDMETHODIMP cFolder_Select(BSTR *szTitle, BSTR *result) noexcept override;
  STDMETHODIMP cPopupMenu(BSTR *m1, BSTR *m2, BSTR *m3, BSTR *m4, BSTR *m5, BSTR *m6, BSTR *m7, BSTR *m8, BSTR *m9, BSTR *m10, BSTR *m11, BSTR *m12, BSTR *m13, BSTR *m14, BSTR *m15, BSTR *m16, BSTR *m17, BSTR *m18, BSTR *m19, BSTR *m20, LONG *result) noexcept override;
  STDMETHODIMP cTooltip(BSTR *Message, LONG *FontColor, LONG *BackColor, LONG *Height) noexcept override;

  // Registry access and image saving (methods_registry.cpp, methods_image.cpp)
  STDMETHODIMP cReg_Read(LONG *hKey, BSTR *KEY, BSTR *Value, BSTR *result) noexcept override;
  STDMETHODIMP cReg_Load(LONG *hKey, BSTR *KEY, BSTR *Value, BSTR *result) noexcept override;
  STDMETHODIMP cReg_Open(LONG *hKey, BSTR *KEY, BSTR *Value, BSTR *result) noexcept override;
  STDMETHODIMP cReg_Write(LONG *hKey, BSTR *KEY, BSTR *Value, BSTR *Data) noexcept override;
  STDMETHODIMP cReg_Save(LONG *hKey, BSTR *KEY, BSTR *Value, BSTR *Data) noexcept override;
  STDMETHODIMP cReg_DeleteValueSetting(LONG *hKey, BSTR *KEY, BSTR *Value) noexcept override;
  STDMETHODIMP cReg_DeleteKeySetting(LONG *hKey, BSTR *KEY) noexcept override;
  STDMETHODIMP cSaveJPG(IPictureDisp **Pict, BSTR Filename, LONG *Quality0to100) noexcept override;
  STDMETHODIMP cSaveGIF(IPictureDisp **Pict, BSTR Filename) noexcept override;
  STDMETHODIMP cSavePNG(IPictureDisp **Pict, BSTR Filename) noexcept override;

  // IOleObject (ole_control.cpp)
  STDMETHODIMP SetClientSite(IOleClientSite* site) noexcept override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) noexcept override;
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) noexcept override;
  STDMETHODIMP Close(DWORD saveOption) noexcept override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) noexcept override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) noexcept override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) noexcept override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) noexcept override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                      LPCRECT posRect) noexcept override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) noexcept override;
  STDMETHODIMP Update() noexcept override;
  STDMETHODIMP IsUpToDate() noexcept override;
  STDMETHODIMP GetUserClassID(CLSID* clsid) noexcept override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) noexcept override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) noexcept override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) noexcept override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) noexcept override;
  STDMETHODIMP Unadvise(DWORD connection) noexcept override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) noexcept override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) noexcept override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) noexcept override;

  // IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc, HDC drawDc,
                    LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                    ULONG_PTR contArg) noexcept override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                           LOGPALETTE** colors) noexcept override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) noexcept override;
  STDMETHODIMP Unfreeze(DWORD freeze) noexcept override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink) noexcept override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) noexcept override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) noexcept override;

  // IOleWindow, IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* window) noexcept override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) noexcept override;
  STDMETHODIMP InPlaceDeactivate() noexcept override;
  STDMETHODIMP UIDeactivate() noexcept override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) noexcept override;
  STDMETHODIMP ReactivateAndUndo() noexcept override;

  // IPersistStreamInit: nothing is persisted, but containers insist on the calls.
  STDMETHODIMP GetClassID(CLSID* clsid) noexcept override;
  STDMETHODIMP IsDirty() noexcept override;
  STDMETHODIMP Load(IStream* stream) noexcept override;
  STDMETHODIMP Save(IStream* stream, BOOL clearDirty) noexcept override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) noexcept override;
  STDMETHODIMP InitNew() noexcept override;

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) noexcept override;
  STDMETHODIMP OnMnemonic(MSG* msg) noexcept override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) noexcept override;
  STDMETHODIMP FreezeEvents(BOOL freeze) noexcept override;

  // IConnectionPointContainer: the event interface has no members, so nobody can connect.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) noexcept override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept override;

 private:
  Quessel() noexcept;
  ~Quessel();
  Quessel(const Quessel&) = delete;
  Quessel& operator=(const Quessel&) = delete;

  // The taskbar rectangle as the application-bar interface reports it.
  RECT QueryTaskbarRect() noexcept;
  HWND ContainerWindow() const noexcept;
  void DestroyFace() noexcept;

  std::atomic<ULONG> refs_{1};
  win32::ComPtr<ITypeInfo> typeInfo_;  // _Quessel's, from the embedded type library
  ProcessorLoad processorLoad_;
  OsVersion osVersion_;
  APPBARDATA taskbarRecord_{};
  win32::ComPtr<IOleClientSite> site_;
  win32::ComPtr<IAdviseSink> viewSink_;
  win32::ComPtr<IOleAdviseHolder> adviseHolder_;
  HWND face_ = nullptr;  // the in-place window while active, destroyed by DestroyFace
};

}  // namespace pravik::controllib
