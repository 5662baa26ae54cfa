#include "audio/Sound.h"

#include "audio/Channel.h"

Sound::~Sound() {
    delete prepared;
}
