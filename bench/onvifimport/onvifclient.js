// The npm "onvif" client (0.8.3) reading the same fake devices as bench_onvifimport, for comparison:
// what a tool built on it would do to get every channel's encoder and quality range: connect (clock,
// services, video sources, profiles with their encoders), the device's identity, and the options of
// each channel's encoder, every request that can wait for no other at once.
//   NODE_PATH=<folder>/node_modules node onvifclient.js HOST:PORT...
// Prints "<one device ms> <all devices ms> <cameras of all devices>".
'use strict';

const { Cam } = require('onvif/promises');

async function readDevice(address) {
    const [hostname, port] = address.split(':');
    const cam = new Cam({ hostname, port: Number(port), username: 'admin', password: '12345', autoconnect: false,
                          preserveAddress: true, timeout: 10000 });
    await cam.connect();
    // The first profile of each video source carries that channel's encoder.
    const channels = new Map();
    for (const profile of cam.profiles || []) {
        const source = profile.videoSourceConfiguration && profile.videoSourceConfiguration.sourceToken;
        if (profile.videoEncoderConfiguration && !channels.has(source))
            channels.set(source, profile);
    }
    await Promise.all([
        cam.getDeviceInformation(),
        ...[...channels.values()].map((profile) => cam.getVideoEncoderConfigurationOptions({
            configurationToken: profile.videoEncoderConfiguration.$.token, profileToken: profile.$.token })),
    ]);
    return channels.size;
}

async function main() {
    const addresses = process.argv.slice(2);
    let start = process.hrtime.bigint();
    await readDevice(addresses[0]);
    const one = Number(process.hrtime.bigint() - start) / 1e6;
    start = process.hrtime.bigint();
    const cameras = await Promise.all(addresses.map(readDevice));
    const all = Number(process.hrtime.bigint() - start) / 1e6;
    console.log(`${one.toFixed(1)} ${all.toFixed(1)} ${cameras.reduce((a, b) => a + b, 0)}`);
}

main().catch((error) => {
    console.error(error);
    process.exit(1);
});
