#include "engine/RecordingMessages.h"

const UINT WM_USER_RECORDINTERRUPTED_MSG = RegisterWindowMessageA("WM_USER_RECORDINTERRUPTED_MSG");
const UINT WM_USER_SAVECURSOR_MSG = RegisterWindowMessageA("WM_USER_SAVECURSOR_MSG");
const UINT WM_USER_GENERIC_MSG = RegisterWindowMessageA("WM_USER_GENERIC_MSG");
const UINT WM_USER_RECORDSTART_MSG = RegisterWindowMessageA("WM_USER_RECORDSTART_MSG");
