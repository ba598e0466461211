// The show's sound in the page: the sink the engine plays into (its web
// backend calls queue, play, discard, heard and hold, and sets onPlayed). The
// engine renders 16-bit stereo at 44100 Hz; the sink says how much of it has
// been heard, and the show's clock follows that, as on the desktop.
"use strict";

const viloraSound = (() => {
    const rate = 44100;

    // Through an AudioWorklet (worklet.js) on the audio thread. The worklet
    // reports after every block it played; onPlayed then has the engine top
    // the queue up on the page's one thread.
    class WorkletSink {
        constructor(context, node) {
            this.rate = rate;
            this.context = context;
            this.node = node;
            this.played = 0;
            this.underruns = 0;
            this.onPlayed = null;
            node.port.onmessage = (event) => {
                this.played = event.data.played;
                this.underruns = event.data.underruns;
                if (this.onPlayed) this.onPlayed();
            };
        }
        queue(samples) {
            this.node.port.postMessage({samples}, [samples.buffer]);
        }
        play(playing) {
            this.node.port.postMessage({play: playing});
        }
        discard() {
            this.node.port.postMessage({discard: true});
        }
        // What has left the speakers: played by the worklet, less what the
        // browser and the device still hold.
        heard() {
            const latency = this.context.outputLatency || this.context.baseLatency || 0;
            return Math.max(0, this.played - latency * rate);
        }
        hold(held) {
            if (held) this.context.suspend();
            else this.context.resume();
        }
        get state() {
            return this.context.state;
        }
        close() {
            this.onPlayed = null;
            this.node.disconnect();
            this.context.close();
        }
    }

    // No sound at all (a page on plain http gets no AudioWorklet): the music
    // is heard by the clock, as the desktop's silent device does it.
    class ClockSink {
        constructor(reason) {
            this.rate = rate;
            this.reason = reason;
            this.queued = 0;
            this.heardBefore = 0; // frames heard before the clock last started
            this.since = 0; // performance.now() when it started
            this.playing = false;
            this.held = false;
            this.timer = null;
            this.underruns = 0;
            this.onPlayed = null;
        }
        queue(samples) {
            this.queued += samples.length / 2;
        }
        play(playing) {
            this.setRunning(() => {
                this.playing = playing;
            });
        }
        discard() {
            this.heardBefore = this.queued;
            this.since = performance.now();
        }
        heard() {
            if (!this.running()) return this.heardBefore;
            const elapsed = ((performance.now() - this.since) * rate) / 1000;
            return Math.min(this.queued, this.heardBefore + elapsed);
        }
        hold(held) {
            this.setRunning(() => {
                this.held = held;
            });
        }
        get state() {
            return "silent";
        }
        close() {
            this.onPlayed = null;
            clearInterval(this.timer);
        }
        running() {
            return this.playing && !this.held;
        }
        // The clock stops and starts with the playing and held flags; while it
        // runs, the engine is asked for audio every 10 ms.
        setRunning(change) {
            const was = this.running();
            if (was) this.heardBefore = this.heard();
            change();
            if (this.running() === was) return;
            clearInterval(this.timer);
            this.timer = null;
            if (this.running()) {
                this.since = performance.now();
                this.timer = setInterval(() => this.onPlayed && this.onPlayed(), 10);
            }
        }
    }

    // A sink for one show. Called from the Play button's click (browsers let
    // sound start only from a gesture), or at once for ?autoplay, where the
    // browser may refuse: then `state` stays "suspended".
    async function open() {
        if (!window.AudioContext || !window.AudioWorkletNode) {
            return new ClockSink("this browser has no AudioWorklet here (it needs https or localhost)");
        }
        let context;
        try {
            context = new AudioContext({sampleRate: rate, latencyHint: "interactive"});
            await context.audioWorklet.addModule("worklet.js");
            const node = new AudioWorkletNode(context, "vilora-sink", {
                numberOfInputs: 0,
                outputChannelCount: [2],
            });
            node.connect(context.destination);
            // resume() waits for a gesture where autoplay is not allowed; a
            // context still suspended after a few seconds counts as refused.
            await Promise.race([context.resume(), new Promise((done) => setTimeout(done, 3000))]);
            return new WorkletSink(context, node);
        } catch (error) {
            if (context) context.close();
            return new ClockSink("the sound could not be started: " + error.message);
        }
    }

    const silent = (reason) => new ClockSink(reason);

    return {open, silent, rate};
})();
