// The replay tool under node. SDL's dummy sound device needs a thread, which this build
// has not, so the tool opens the browser's device instead, here a silent stand-in that
// never asks for samples; and SDL's joystick code asks the navigator for gamepads, which
// node (before 21) lacks: an empty one says there are none.
if (typeof navigator === 'undefined') globalThis.navigator = {};
if (typeof document === 'undefined') globalThis.document = { getElementById: () => null, addEventListener() {} };
if (typeof AudioContext === 'undefined') {
  globalThis.AudioContext = class {
    constructor() { this.sampleRate = 44100; this.state = 'running'; this.destination = {}; }
    createScriptProcessor() { return { connect() {}, disconnect() {} }; }
    resume() {}
    close() {}
  };
}
