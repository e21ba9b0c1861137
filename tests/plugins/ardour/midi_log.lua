ardour { ["type"] = "dsp", name = "plimsar MIDI log", category = "Utility", license = "GPLv2", author = "plimsar",
	description = [[Passes MIDI through and keeps every event with its sample position, for the session script to read]] }

-- Lua DSP scripts have no file access: the events go into the processor's shared memory, four
-- integers each (sample counted from the first block, status, data 1, data 2), after a count.
local capacity = 4096

function dsp_ioconfig ()
	return { { midi_in = 1, midi_out = 1, audio_in = -1, audio_out = -1 } }
end

function dsp_init (rate)
	samples = 0
	self:shmem ():allocate (1 + 4 * capacity)
	self:shmem ():clear ()
end

function dsp_run (ins, outs, n_samples)
	local shm = self:shmem ()
	local count = shm:atomic_get_int (0)
	local events = shm:to_int (1):array ()
	for _, e in ipairs (midiin) do
		if count < capacity then
			events[4 * count + 1] = samples + e.time - 1
			events[4 * count + 2] = e.data[1] or -1
			events[4 * count + 3] = e.data[2] or -1
			events[4 * count + 4] = e.data[3] or -1
			count = count + 1
		end
	end
	shm:atomic_set_int (0, count)
	midiout = midiin
	samples = samples + n_samples
end
