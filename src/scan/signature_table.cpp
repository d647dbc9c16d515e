#include "scan/signature_table.h"

namespace quellspur {

// The clean-up picks its extra steps by these names, so they stay exactly as they are.
constexpr std::array<WindowSignatureText, 24> kWindowSignatures = {{
    {L"NetBus ver. 1.2", L"TMainForm", L"NetBus 1.2, by cf"},
    {L"NetBus", L"TMainForm2", L"MainForm2"},
    {L"NetBus Pro", L"TApplication", L"NetBus Server"},
    {L"Master's Paradise", L"TApplication", L"Master's Paradise Agent"},
    {L"GirlFriend", L"TApplication", L"MServ"},
    {L"Deep Throat", L"TApplication", L"System32"},
    {L"NetSpy", L"Tmain", L"SysProtect"},
    {L"Sockets 2.5", L"TApplication", L"MSchv32"},
    {L"PhAse zerO", L"Tx", L"x"},
    {L"BackDoor 2.3", L"ThunderRT6FormDC", L"Yo LaMeR!!!"},
    {L"StealthSpy", L"TelSrvApp", L"TelNet Server"},
    {L"ACiDShivers", L"ThunderRT5Form", L"ACiDShivers"},
    {L"TeLeCoMMaNDo", L"TApplication", L"Windows System"},
    {L"Millenium", L"ThunderRT5Form", L"System Update"},
    {L"Gate Crasher", L"ThunderRT6Main", L"Inet.drv"},
    {L"Bubbel", L"ThunderRT5Main", L"bubbel"},
    {L"Silencer", L"ThunderRT5Main", L"Priority Server"},
    {L"Coma", L"ThunderRT5CommandButton", L"Test Controll"},
    {L"Shadow Phyre", L"ThunderRT5Form", L"Nuke Detector Pro."},
    {L"SubSeven", L"TForm2", L"chat"},
    {L"Executor", L"TStatusBar", L"Welcome to Executer 1. Have a nice day!"},
    {L"Devil", L"ThunderRT5Main", L"wingeno"},
    {L"Devil", L"ThunderRT5Form", L"wingenocide"},
    {L"Devil", L"ThunderRT5Main", L"Kernell32"},
}};

}  // namespace quellspur
