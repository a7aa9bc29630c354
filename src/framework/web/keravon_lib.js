// What the engine asks of the page. The page (page/index.html) puts its
// handlers on Module.keravon before the engine starts; this file forwards to
// them, so the page alone decides how things look, and feeds WebAudio from
// the engine's mixer.
mergeInto(LibraryManager.library, {
  krv_js_set_title: function (title) {
    Module['keravon']['title'](UTF8ToString(title));
  },
  // A 640x480 RGBA picture in the engine's memory, valid during the call.
  krv_js_present: function (rgba, width, height) {
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module['keravon']['present'](bytes, width, height);
  },
  krv_js_fatal: function (text) {
    Module['keravon']['fatal'](UTF8ToString(text));
  },
  // Script runs: the hash of each presented page (16 hex digits).
  krv_js_frame: function (iteration, hash) {
    Module['keravon']['frame'](iteration, UTF8ToString(hash));
  },
  krv_js_ended: function () {
    Module['keravon']['ended']();
  },
  // The page's words from the quiz folder (Data/page.txt), defaults filled in.
  krv_js_word: function (key, text) {
    Module['keravon']['word'](UTF8ToString(key), UTF8ToString(text));
  },
  // The start screen is passed: play begins.
  krv_js_started: function () {
    Module['keravon']['started']();
  },
  // The game moved on to its next scene: 1 after the intro, 2 the ending.
  krv_js_scene: function (scene) {
    Module['keravon']['scene'](scene);
  },
  krv_js_answer: function (question, questionCount, right, won) {
    Module['keravon']['answer']({ question: question, questionCount: questionCount,
                                  right: right !== 0, won: won !== 0 });
  },
  // Progress: the page answers with what it keeps for the quiz (empty for a
  // new game), written into out as UTF-8; the length it needs.
  krv_js_saved_progress: function (out, capacity) {
    var text = String(Module['keravon']['savedProgress']() || '');
    stringToUTF8(text, out, capacity);
    return lengthBytesUTF8(text);
  },
  // The latest progress to keep; empty: nothing is left to continue.
  krv_js_keep_progress: function (text) {
    Module['keravon']['keepProgress'](UTF8ToString(text));
  },

  // Decoded sounds: interleaved 16-bit stereo at 44100 Hz, kept by the page.
  krv_js_sound_frames: function (path) {
    var sound = Module['keravon']['sound'](UTF8ToString(path));
    return sound ? sound.length / 2 : -1;
  },
  krv_js_sound_copy: function (path, out, frames) {
    var sound = Module['keravon']['sound'](UTF8ToString(path));
    HEAP16.set(sound.subarray(0, frames * 2), out >> 1);
  },

  // The sound device: a processor node that asks the engine's mixer for each
  // block. The page's script runs on one thread, so the mixer needs no lock.
  krv_js_open_audio: function () {
    var context = Module['keravon']['audioContext'];
    if (!context || Module['keravonAudioNode']) return context ? 1 : 0;
    var frames = 2048;
    var buffer = Module['_malloc'](frames * 4);
    var node = context.createScriptProcessor(frames, 0, 2);
    node.onaudioprocess = function (event) {
      var left = event.outputBuffer.getChannelData(0);
      var right = event.outputBuffer.getChannelData(1);
      Module['_keravon_mix'](buffer, frames);
      var samples = HEAP16.subarray(buffer >> 1, (buffer >> 1) + frames * 2);
      for (var i = 0; i < frames; ++i) {
        left[i] = samples[2 * i] / 32768;
        right[i] = samples[2 * i + 1] / 32768;
      }
    };
    node.connect(context.destination);
    Module['keravonAudioNode'] = node;
    Module['keravonAudioBuffer'] = buffer;
    return 1;
  },
  // Closed at every end of the game, which the page may start again.
  krv_js_close_audio: function () {
    var node = Module['keravonAudioNode'];
    if (node) {
      node.onaudioprocess = null;
      node.disconnect();
      Module['_free'](Module['keravonAudioBuffer']);
    }
    Module['keravonAudioNode'] = null;
    Module['keravonAudioBuffer'] = 0;
  },
});
