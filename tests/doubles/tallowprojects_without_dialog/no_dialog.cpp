// A tallowprojects.dll without LaunchSelectProjectDlg: its one export only
// resembles that name.
extern "C" __declspec(dllexport) void __cdecl LaunchSelectProjectDialog(char**) {}
