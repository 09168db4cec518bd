// The scripted player is all in its header; this unit gives the build a file to list.
#include "FakePlayer.h"
