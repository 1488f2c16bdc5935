#include "support/UrlsManager.h"

UrlsManager* UrlsManager::Instance() {
    static UrlsManager instance;
    return &instance;
}
