-- Run by ardour7-lua: a new session on Ardour's own dummy audio backend, a MIDI track with the LV2
-- plimsar, a MIDI region holding a C major chord for eight quarter notes, and the transport rolling
-- from the start past its end. The MIDI the plug-in sends out is printed, one "event" line each.
local folder = os.getenv ("PLIMSAR_SESSION_DIR")
local uri = os.getenv ("PLIMSAR_LV2_URI")
local rate = 48000
local quarter = rate / 2 -- at the new session's 120 bpm

assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy backend")
local s = create_session (folder, "plimsar", rate)
assert (s, "cannot create a session in " .. folder)

local midi = ARDOUR.ChanCount (ARDOUR.DataType ("midi"), 1)
local plugin = ARDOUR.LuaAPI.new_plugin_info (uri, ARDOUR.PluginType.LV2)
assert (not plugin:isnil (), "Ardour does not know the LV2 plug-in " .. uri)
local track = s:new_midi_track (midi, midi, false, plugin, nil, nil, 1, "plimsar", ARDOUR.PresentationInfo.max_order,
	ARDOUR.TrackMode.Normal, true, false):front ()
print ("plug-in:", track:nth_plugin (0):display_name ())

-- Ardour makes new MIDI regions by bouncing: an empty stretch of a second, bare MIDI track gives
-- an empty region, which gets the chord and goes onto the plug-in's track.
local bare = s:new_midi_track (midi, midi, false, ARDOUR.PluginInfo (), nil, nil, 1, "chord", ARDOUR.PresentationInfo.max_order,
	ARDOUR.TrackMode.Normal, true, false):front ()
local region = bare:bounce_range (0, 8 * quarter, ARDOUR.InterThreadInfo (), bare:main_outs (), false, "chord", false)
assert (not region:isnil (), "no MIDI region")
local model = region:to_midiregion ():midi_source (0):model ()
local chord = model:new_note_diff_command ("chord")
for _, key in ipairs ({ 60, 64, 67 }) do
	chord:add (ARDOUR.LuaAPI.new_noteptr (0, Temporal.Beats (0, 0), Temporal.Beats (8, 0), key, 100))
end
model:apply_command (s, chord)
track:playlist ():add_region (region, Temporal.timepos_t (0), 1, false, 0, 0, false)

local log = ARDOUR.LuaAPI.new_luaproc (s, "plimsar MIDI log")
assert (not log:isnil (), "the MIDI log script is not installed")
assert (track:add_processor_by_index (log, -1, nil, true) == 0, "cannot add the MIDI log after the plug-in")

s:goto_start (false)
s:request_roll (ARDOUR.TransportRequestSource.TRS_UI)
-- Until the chord has been let go and a quarter note more has played (or 60 s have passed on a
-- machine too busy to keep up).
for _ = 1, 600 do
	if s:transport_sample () >= 9 * quarter then break end
	ARDOUR.LuaAPI.usleep (100000)
end
print ("rolled to:", s:transport_sample ())
s:request_stop (false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep (300000)

local shm = log:to_insert ():plugin (0):to_luaproc ():shmem ()
local events = shm:to_int (1):array ()
for i = 0, shm:atomic_get_int (0) - 1 do
	print (string.format ("event %d %d %d %d", events[4 * i + 1], events[4 * i + 2], events[4 * i + 3], events[4 * i + 4]))
end
io.stdout:flush ()
close_session ()
