/* What a restarted shell does to the notification area, in two steps the test
 * can look between: "forget" drops the icon of the window titled Form1, as a
 * notification area built anew has none of the old icons; "announce" then
 * broadcasts TaskbarCreated, after which every program is to add its icon
 * again. Exits 0 when the step was taken. */
#include <windows.h>
#include <shellapi.h>
#include <string.h>

enum { kPelmoIconId = 100 };

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  if (strcmp(argv[1], "forget") == 0) {
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = FindWindowA(NULL, "Form1");
    data.uID = kPelmoIconId;
    if (data.hWnd == NULL) return 2;
    return Shell_NotifyIconA(NIM_DELETE, &data) ? 0 : 1;
  }
  if (strcmp(argv[1], "announce") == 0) {
    UINT created = RegisterWindowMessageA("TaskbarCreated");
    return SendNotifyMessageA(HWND_BROADCAST, created, 0, 0) ? 0 : 1;
  }
  return 2;
}
