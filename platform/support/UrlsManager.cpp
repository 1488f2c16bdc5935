#include "UrlsManager.h"

UrlsManager* UrlsManager::Instance() {
    static UrlsManager instance;
    return &instance;
}
