/* What a session manager does at logout, to the windows titled Form1: asks
 * (WM_QUERYENDSESSION), then tells (WM_ENDSESSION), and ends nothing itself, so
 * that a program which ignores the news is seen still running. Exits 0 when the
 * window agreed to the end. */
#include <windows.h>

int main(void) {
  HWND form1 = FindWindowA(NULL, "Form1");
  if (form1 == NULL) return 2;
  DWORD_PTR agreed = 0;
  SendMessageTimeoutA(form1, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                      &agreed);
  SendMessageTimeoutA(form1, WM_ENDSESSION, agreed != 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                      NULL);
  return agreed != 0 ? 0 : 1;
}
