#include "editor/channel_edit_request.h"

ChannelEditRequest channelEditRequest;
