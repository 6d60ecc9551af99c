// The application-object base of the library module (CWinApp of a Win32 build).
#pragma once

class CWinApp {
public:
  CWinApp() = default;
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return 0; }
};
