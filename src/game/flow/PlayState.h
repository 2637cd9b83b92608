// The modes, the player, the level script, the screen lock and the progress values, for the state
// dump.
#pragma once

class JsonWriter;

void WritePlayState(JsonWriter& j);
