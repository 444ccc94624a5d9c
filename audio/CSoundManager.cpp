// CSoundManager: placeholder until audio lands.
#include "audio/CSoundManager.h"

CSoundManager* g_pSoundManager = nullptr;

CSoundManager::CSoundManager() : soundVolume(128), musicVolume(128), deviceOpen(false) {}
CSoundManager::~CSoundManager() {}
